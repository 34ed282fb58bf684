#pragma once

#include "base/progress.h"
#include "print/print_renderer.h"

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
// Throws AppError when the printer cannot be opened. Returns the photos left out.
QList<UnreadPicture> printPages(const PrintDocument& document, QPrinter& printer, int from, int to,
                                const Progress& progress = {});
