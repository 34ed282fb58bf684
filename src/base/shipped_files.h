#pragma once

#include <QString>
#include <QStringList>

// Files shipped with the program: the workbook templates and the photo-index DTDs. An office's
// own copy in the program folder wins, so users can replace them.
namespace ShippedFiles {

// Folders holding the shipped files, in the order they are tried: templates/ beside the
// executable, then (running from a build) the build's and the source tree's templates/.
QStringList folders();

// fileName in the program folder, else in the shipped folders; empty when none exists.
QString find(const QString& programFolder, const QString& fileName);

// A template workbook: NAME.xlsx or NAME.xls in the program folder, else the shipped
// NAME.xlsx; empty when none exists.
QString findTemplate(const QString& programFolder, const QString& name);

} // namespace ShippedFiles
