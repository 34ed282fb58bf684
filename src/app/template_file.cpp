#include "app/template_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

QString findTemplate(const QString& programFolder, const QString& name) {
    QStringList folders{programFolder};
    if (QCoreApplication::instance()) folders << QCoreApplication::applicationDirPath() + u"/templates"_s;
    folders << QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates"_s;
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (!folder.isEmpty() && QFileInfo(path).isFile()) return path;
    }
    return {};
}
