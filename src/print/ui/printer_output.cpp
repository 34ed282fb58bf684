#include "print/ui/printer_output.h"

#include "base/app_error.h"
#include "print/print_document.h"
#include "print/print_renderer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

const QString PrintActivity = u"印刷しています…"_s;

InstalledPrinters InstalledPrinters::ofSystem() {
    return {QPrinterInfo::availablePrinterNames(), QPrinterInfo::defaultPrinterName()};
}

void setUpPrinter(QPrinter& printer, const PrintDocument& document) {
    if (!document.Device.isEmpty()) printer.setPrinterName(document.Device);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(
        QPageSize(document.paperSize() == PrintDocument::PaperA3 ? QPageSize::A3 : QPageSize::A4),
        document.orientation() == PrintDocument::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
        QMarginsF()));
}

PrintedPages printPages(const PrintDocument& document, QPrinter& printer, int from, int to,
                        const Progress& progress) {
    printer.setDocName(document.DocName);
    QPainter painter;
    // The job opens with its first page, so that a stop before it sends nothing.
    const auto startPage = [&](int page) {
        if (page > from) {
            printer.newPage();
        } else if (!painter.begin(&printer)) {
            const QString name =
                printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
            throw AppError(u"プリンタを開けません: "_s + name);
        }
    };
    PrintedPages printed{from, to, from - 1, false, {}};
    try {
        printed.unread = renderPages(document, from, to, painter, printer.resolution(), startPage,
                                     progress.mapped([&](ProgressStep step) {
                                         printed.last = from + int(step.done) - 1;
                                         step.activity = PrintActivity;
                                         return step;
                                     }));
    } catch (const Cancelled&) {
        printed.stopped = true;
    }
    if (painter.isActive()) painter.end();
    return printed;
}
