#pragma once

#include <QString>
#include <QStringList>

// Files shipped with the program: the workbook templates and the photo-index DTDs. An office's
// own copy in the program folder wins, so users can replace them.
namespace ShippedFiles {

// The shipped files of an installed program, share/tovenla2 beside the executable's bin/
// (relative, so a moved prefix still works); empty when the program is not installed.
QString installedFolder(const QString& executableFolder);

// Folders holding the shipped files, in the order they are tried. An installed program looks
// only in its share/tovenla2, so a file missing from the install is never taken from a build
// tree; otherwise templates/ beside the executable, then the build's and the source tree's.
QStringList folders(const QString& executableFolder);
// The same for the running executable.
QStringList folders();

// fileName in the program folder, else in the shipped folders; empty when none exists.
QString find(const QString& programFolder, const QString& fileName);

// A template workbook: NAME.xlsx or NAME.xls in the program folder, else the shipped
// NAME.xlsx; empty when none exists.
QString findTemplate(const QString& programFolder, const QString& name);

} // namespace ShippedFiles
