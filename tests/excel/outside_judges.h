#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <map>

// Helpers for tests that let outside programs judge our workbooks: LibreOffice prints them,
// poppler reads the PDFs, openpyxl reads the cells back.
namespace OutsideJudges {

// The program's standard output; a failure or a hang fails the test.
QString output(const QString& program, const QStringList& args, int timeoutMs = 60000);

// Empty when every tool is on the path, else why the test cannot judge.
QString missingPrintTools();
QString missingOpenpyxl();

// Prints the workbooks to PDFs beside them in the folder, in one LibreOffice run.
void printToPdf(const QString& folder, const QStringList& workbooks);

int pageCount(const QString& pdf);
// Pictures on each page, by page number from 1.
std::map<int, int> picturesPerPage(const QString& pdf);
QString pageText(const QString& pdf, int page);
// The fonts the PDF embeds, as pdffonts lists them.
QString fontsOf(const QString& pdf);
// The page rendered at the resolution, or a null image.
QImage renderPage(const QString& pdf, int page, int dpi, const QString& folder);

// A strong colour for photo n, and where each photo's colour lies on a rendered page.
QColor photoColour(int n);
std::map<int, QRect> photoBoxes(const QImage& page, int photos);

// Runs a Python script with openpyxl on the arguments; answers its output, trimmed.
QString python(const QString& script, const QStringList& args);

} // namespace OutsideJudges
