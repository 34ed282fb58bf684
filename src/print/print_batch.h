#pragma once

#include <QString>
#include <QTextStream>

// Headless sub-commands: album pages and the CD label page as PDF files, with the settings of
// the program folder.
namespace PrintBatch {

int albumPdf(const QString& albumPath, const QString& pdfPath, const QString& programFolder, QTextStream& out,
             QTextStream& err);
int labelPdf(const QString& pdfPath, const QString& programFolder, QTextStream& out, QTextStream& err);

} // namespace PrintBatch
