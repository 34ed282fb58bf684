#include "excel/template_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace TemplateFiles {

QStringList shippedFolders() {
    QStringList folders;
    if (QCoreApplication::instance()) folders << QCoreApplication::applicationDirPath() + u"/templates"_s;
#ifdef TOVENLA_TEMPLATE_DIR
    folders << QStringLiteral(TOVENLA_TEMPLATE_DIR);
#endif
    return folders;
}

QString find(const QString& programFolder, const QString& name) {
    QStringList candidates{QDir(programFolder).filePath(name + u".xlsx"_s),
                           QDir(programFolder).filePath(name + u".xls"_s)};
    for (const QString& folder : shippedFolders())
        candidates << QDir(folder).filePath(name + u".xlsx"_s);
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile()) return path;
    return {};
}

} // namespace TemplateFiles
