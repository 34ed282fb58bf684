#pragma once

#include "base/progress.h"
#include "print/print_range.h"

#include <QList>
#include <QString>
#include <QStringList>

class PrintDocument;
class QPrinter;

// The printers installed here and the system's default one.
struct InstalledPrinters {
    QStringList names;
    QString defaultName;
    static InstalledPrinters ofSystem();
};

// Sets the printer up for the document: the named printer, its paper and orientation, pages
// addressed from the paper's corner.
void setUpPrinter(QPrinter& printer, const PrintDocument& document);

extern const QString PrintActivity; // "印刷しています…"

// Prints pages from..to on the printer under the document name; progress hears the pages drawn
// with PrintActivity. Runs on any thread: painting on a printer does not need the window's.
// A stop ends the printer's job with the pages drawn so far, and opens none before the first.
// Throws AppError when the printer cannot be opened.
PrintedPages printPages(const PrintDocument& document, QPrinter& printer, int from, int to,
                        const Progress& progress = {});
