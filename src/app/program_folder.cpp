#include "app/program_folder.h"

#include "app/file_io.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

ProgramFolder usableFolder(const QString& path) {
    ProgramFolder folder{QDir(path).absolutePath(), {}};
    const QFileInfo info(folder.path);
    if (info.exists() && !info.isDir())
        folder.problem = u"同じ名前のファイルがあるため、フォルダとして使えません。"_s;
    else if (!info.exists() && !QDir().mkpath(folder.path))
        folder.problem = u"フォルダを作成できません。"_s;
    else if (!QFileInfo(folder.path).isWritable())
        folder.problem = u"フォルダに書き込む権限がありません。"_s;
    return folder;
}

} // namespace

ProgramFolder resolveProgramFolder(const QString& executableFolder) {
    const QString home = qEnvironmentVariable("TOVENLA_HOME");
    if (!home.isEmpty()) return usableFolder(home);
    const QFileInfo executable(executableFolder);
    if (!executableFolder.isEmpty() && executable.isDir() && executable.isWritable())
        return {executable.absoluteFilePath(), {}};
    return usableFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

QString programFolderFailure(const QString& folder, const QString& reason) {
    return fileFailure(u"プログラムフォルダを使用できません。"_s, folder, reason);
}
