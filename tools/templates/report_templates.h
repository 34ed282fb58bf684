#pragma once

#include "xlsx/workbook.h"

#include <QDir>

// The survey report templates: field reconnaissance, boundary points, work management and the
// point records.
void writeFieldReportTemplates(const QDir& folder);
void writePointRecordTemplate(const QDir& folder);

// Text in the fonts of Japanese forms, ＭＳ Ｐゴシック and ＭＳ 明朝 for headings: Windows offices
// have both, and elsewhere font substitution draws them. The standard font, which gives the
// column widths their meaning, stays Excel's own Calibri: where it is missing its metric twin
// stands in, while a missing ＭＳ Ｐゴシック would widen every column by the substitute's digits.
inline const QString TextFont = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString HeadingFont = QStringLiteral("ＭＳ 明朝");

// A column as wide as so many screen pixels.
void setColumnPixels(Workbook& book, int column, double pixels);

// The active sheet prints rows 1 to lastRow across columns 1 to lastColumn, one template page
// with the rows above it, whole on its paper.
void fitPage(Workbook& book, PageSetup setup, int lastRow, int lastColumn);
