#include "base/shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ShippedFiles {

namespace {

QString firstFile(const QStringList& candidates) {
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile()) return path;
    return {};
}

} // namespace

QString installedFolder(const QString& executableFolder) {
    if (executableFolder.isEmpty()) return {};
    const QFileInfo share(QDir(executableFolder).filePath(u"../share/tovenla2"_s));
    return share.isDir() ? share.absoluteFilePath() : QString();
}

QStringList folders(const QString& executableFolder) {
    const QString installed = installedFolder(executableFolder);
    if (!installed.isEmpty()) return {installed};
    QStringList found;
    if (!executableFolder.isEmpty()) found << QDir(executableFolder).filePath(u"templates"_s);
#ifdef TOVENLA_TEMPLATE_DIR
    found << QStringLiteral(TOVENLA_TEMPLATE_DIR);
#endif
#ifdef TOVENLA_SOURCE_DIR
    found << QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates"_s;
#endif
    return found;
}

QStringList folders() {
    return folders(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString());
}

QString find(const QString& programFolder, const QString& fileName) {
    QStringList candidates;
    if (!programFolder.isEmpty()) candidates << QDir(programFolder).filePath(fileName);
    for (const QString& folder : folders())
        candidates << QDir(folder).filePath(fileName);
    return firstFile(candidates);
}

QString findTemplate(const QString& programFolder, const QString& name) {
    QStringList candidates;
    if (!programFolder.isEmpty())
        candidates << QDir(programFolder).filePath(name + u".xlsx"_s)
                   << QDir(programFolder).filePath(name + u".xls"_s);
    for (const QString& folder : folders())
        candidates << QDir(folder).filePath(name + u".xlsx"_s);
    return firstFile(candidates);
}

} // namespace ShippedFiles
