#pragma once

#include <QString>

// Spreadsheet programs lay column widths out in the widest digit of the workbook's standard
// font, in whole pixels at 96 dots an inch; a width in characters means nothing without it.
namespace DigitWidth {

// The fonts Japanese offices use come from a table of what Excel measures on Windows, where
// they are installed; any other font is measured when it is installed here; anything else is
// taken as Calibri, Excel's own standard font.
int pixels(const QString& fontName, double points);

} // namespace DigitWidth
