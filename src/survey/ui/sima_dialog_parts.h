#pragma once

#include <QString>

class QLineEdit;
class QWidget;
class Prompts;

// What the two SIMA dialogs share: the photo folder choice.
namespace SimaDialogParts {

extern const QString FolderTitle; // "写真フォルダーを指示。ファイル名は無視します。"

// "参照": the chosen folder, with its closing separator, into the text box.
void choosePhotoFolder(Prompts& prompts, QLineEdit& folderBox);

} // namespace SimaDialogParts
