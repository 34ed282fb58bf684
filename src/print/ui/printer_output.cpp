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

QList<UnreadPicture> printPages(const PrintDocument& document, QPrinter& printer, int from, int to,
                                const Progress& progress) {
    printer.setDocName(document.DocName);
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name =
            printer.printerName().isEmpty() ? printer.outputFileName() : printer.printerName();
        throw AppError(u"プリンタを開けません: "_s + name);
    }
    const QList<UnreadPicture> unread = renderPages(
        document, from, to, painter, printer.resolution(), [&printer] { printer.newPage(); },
        progress.mapped([](ProgressStep step) {
            step.activity = PrintActivity;
            return step;
        }));
    painter.end();
    return unread;
}
