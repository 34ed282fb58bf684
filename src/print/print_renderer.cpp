#include "print/print_renderer.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "print/print_document.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QPen penOf(double widthTwips) {
    QPen pen(Qt::black, widthTwips);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QBrush brushOf(int style) {
    return style == PrintDocument::BrushTransparent ? QBrush(Qt::NoBrush) : QBrush(Qt::white);
}

struct OpPainter {
    QPainter& painter;
    double deviceDpi;
    double pictureDpi;

    void operator()(const TextOp& op) const {
        const QFont font = PrintDocument::fontFor(op.fontName, op.fontSize);
        painter.setFont(font);
        painter.setPen(op.color);
        painter.drawText(QPointF(op.x, op.y + QFontMetricsF(font).ascent()), op.text);
    }
    void operator()(const PictureOp& op) const {
        const QRectF rect = QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
        const double dpi = std::min(deviceDpi, pictureDpi);
        const QSize pixels(std::max(1, int(std::ceil(rect.width() * dpi / TwipsPerInch))),
                           std::max(1, int(std::ceil(rect.height() * dpi / TwipsPerInch))));
        const QImage image = decodePicture(*op.picture, pixels);
        if (image.isNull()) return;
        painter.drawImage(rect, image);
    }
    void operator()(const LineOp& op) const {
        painter.setPen(penOf(op.penWidth));
        painter.drawLine(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2));
    }
    void operator()(const RectangleOp& op) const {
        painter.setPen(penOf(op.penWidth));
        painter.setBrush(brushOf(op.brushStyle));
        painter.drawRect(QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized());
    }
    void operator()(const CircleOp& op) const {
        painter.setPen(penOf(op.penWidth));
        painter.setBrush(brushOf(op.brushStyle));
        painter.drawEllipse(QPointF(op.cx, op.cy), op.radius, op.radius);
    }
};

} // namespace

void renderPage(const PrintDocument& document, int page, QPainter& painter, double deviceDpi,
                double pictureDpi) {
    if (page < 1 || page > document.PageCount()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(deviceDpi / TwipsPerInch, deviceDpi / TwipsPerInch);
    const OpPainter draw{painter, deviceDpi, pictureDpi};
    for (const DrawOp& op : document.page(page))
        std::visit(draw, op);
    painter.restore();
}

void writePdf(const PrintDocument& document, const QString& path, int from, int to) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(int(TwipsPerInch));
        writer.setTitle(document.DocName);
        writer.setCreator(u"Tovenla2"_s);
        const QPageLayout layout(
            QPageSize(document.paperSize() == PrintDocument::PaperA3 ? QPageSize::A3 : QPageSize::A4),
            document.orientation() == PrintDocument::Landscape ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait,
            QMarginsF());
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer)) throw AppError(u"PDFを作成できません: "_s + path);
        for (int page = from; page <= to; ++page) {
            if (page > from) writer.newPage();
            renderPage(document, page, painter, TwipsPerInch);
        }
        painter.end();
    }
    writeFileAtomically(path, bytes, u"PDFを保存できません。"_s);
}
