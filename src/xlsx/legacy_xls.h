#pragma once

#include <QString>

// Old binary workbooks (.xls) are read through a LibreOffice conversion to .xlsx.
namespace LegacyXls {

bool isLegacy(const QString& path);
// The converted copy's path, made once for each version of the file (path, size, time) and
// kept in the cache folder. Throws AppError naming the file when it cannot be converted.
QString convertedCopy(const QString& path);

} // namespace LegacyXls
