#pragma once

#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;
class Prompts;

// What the two SIMA dialogs share: their status bar and the photo folder choice.
namespace SimaDialogParts {

extern const QString FolderTitle; // "写真フォルダーを指示。ファイル名は無視します。"

// A status bar "STB1" with panels "STB1Panel1".. added to the parent's layout by the caller.
QWidget* statusBar(QWidget* parent, int panelCount, QList<QLabel*>& panels);

// "参照": the chosen folder, with its closing separator, into the text box.
void choosePhotoFolder(Prompts& prompts, QLineEdit& folderBox);

} // namespace SimaDialogParts
