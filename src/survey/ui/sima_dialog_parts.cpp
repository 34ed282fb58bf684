#include "survey/ui/sima_dialog_parts.h"

#include "base/prompts.h"

#include <QDir>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace SimaDialogParts {

const QString FolderTitle = u"写真フォルダーを指示。ファイル名は無視します。"_s;

void choosePhotoFolder(Prompts& prompts, QLineEdit& folderBox) {
    QString folder = prompts.chooseFolder(FolderTitle, folderBox.text());
    if (folder.isEmpty()) return;
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    folderBox.setText(folder);
}

} // namespace SimaDialogParts
