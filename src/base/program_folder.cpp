#include "base/program_folder.h"

#include "base/file_io.h"
#include "base/shipped_files.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

ProgramFolder usableFolder(const QString& path, ProgramFolder::Use use, bool named) {
    ProgramFolder folder{QDir(path).absolutePath(), {}};
    const QFileInfo info(folder.path);
    const bool window = use == ProgramFolder::Use::Window;
    if (info.exists() && !info.isDir())
        folder.problem = u"同じ名前のファイルがあるため、フォルダとして使えません。"_s;
    else if (!info.exists() && !window && named)
        // A folder named on purpose and not there is most likely mistyped: read nothing
        // from it rather than run on default settings.
        folder.problem = u"フォルダが見つかりません（環境変数 TOVENLA_HOME の指定を確認して下さい）。"_s;
    else if (!info.exists() && window && !QDir().mkpath(folder.path))
        folder.problem = u"フォルダを作成できません。"_s;
    else if (window && !QFileInfo(folder.path).isWritable())
        folder.problem = u"フォルダに書き込む権限がありません。"_s;
    return folder;
}

} // namespace

ProgramFolder resolveProgramFolder(const QString& executableFolder, ProgramFolder::Use use) {
    const QString home = qEnvironmentVariable("TOVENLA_HOME");
    if (!home.isEmpty()) return usableFolder(home, use, true);
    const QFileInfo executable(executableFolder);
    const bool installed = !ShippedFiles::installedFolder(executableFolder).isEmpty();
    if (!installed && !executableFolder.isEmpty() && executable.isDir() && executable.isWritable())
        return {executable.absoluteFilePath(), {}};
    return usableFolder(userDataFolder(), use, false);
}

QString userDataFolder() {
    // Named here rather than through the application's name, so every entry point agrees.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(u"Tovenla2"_s);
}

QString programFolderFailure(const QString& folder, const QString& reason) {
    return fileFailure(u"プログラムフォルダを使用できません。"_s, folder, reason);
}
