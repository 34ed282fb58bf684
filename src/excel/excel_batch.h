#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// "tovenla2 excel ALBUM.dat OUT.xlsx [options]": the album workbook without a window.
// Returns the exit status: 0 written, 1 nothing written.
int runExcelBatch(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                  QTextStream& err);

extern const QString ExcelUsage;
