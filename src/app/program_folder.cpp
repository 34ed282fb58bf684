#include "app/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString resolveProgramFolder(const QString& executableFolder) {
    const QString home = qEnvironmentVariable("TOVENLA_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return QDir(home).absolutePath();
    }
    const QFileInfo executable(executableFolder);
    if (!executableFolder.isEmpty() && executable.isDir() && executable.isWritable())
        return executable.absoluteFilePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}
