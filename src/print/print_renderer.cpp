#include "print/print_renderer.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/output_folder.h"
#include "base/picture_reading.h"
#include "base/row_ranges.h"
#include "print/pdf_pictures.h"
#include "print/picture_lookahead.h"
#include "print/print_document.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QThread>

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

QRectF pictureRect(const PictureOp& op) {
    return QRectF(QPointF(op.x1, op.y1), QPointF(op.x2, op.y2)).normalized();
}

struct OpPainter {
    QPainter& painter;
    double dpi; // of the pictures
    PictureSupply* pictures;

    void operator()(const TextOp& op) const {
        const QFont font = PrintDocument::fontFor(op.fontName, op.fontSize);
        painter.setFont(font);
        painter.setPen(op.color);
        painter.drawText(QPointF(op.x, op.y + QFontMetricsF(font).ascent()), op.text);
    }
    void operator()(const PictureOp& op) const {
        const QSize pixels = picturePixels(op, dpi);
        const QImage image =
            pictures ? pictures->picture(*op.picture, pixels) : decodePicture(*op.picture, pixels);
        if (image.isNull()) return;
        painter.drawImage(pictureRect(op), image);
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

int threadsOr(int threads) {
    return threads > 0 ? threads : std::max(1, QThread::idealThreadCount());
}

// Enough pictures ahead to keep every worker busy while a page of six draws.
int aheadFor(int threads) {
    return 2 * threads + 2;
}

// The pictures of the pages in drawing order, from the look-ahead; those that could not be read
// are noted.
class AheadSupply : public PictureSupply {
public:
    explicit AheadSupply(PictureLookahead& lookahead) : lookahead_(lookahead) {}
    QImage picture(const PictureSource& source, QSize) override { return next(source).image; }
    QList<UnreadPicture> unread;

protected:
    ReadyPicture next(const PictureSource& source) {
        ReadyPicture ready = lookahead_.next();
        if (!ready.failure.isEmpty()) unread.append({source.row, source.path, ready.failure});
        return ready;
    }

private:
    PictureLookahead& lookahead_;
};

// Stand-ins for the PDF writer, the encoded pictures kept for swapping in afterwards.
class PdfSupply : public AheadSupply {
public:
    using AheadSupply::AheadSupply;
    QImage picture(const PictureSource& source, QSize) override {
        ReadyPicture ready = next(source);
        if (ready.jpeg.isEmpty()) return {};
        encoded.append({ready.size, std::move(ready.jpeg)});
        return PdfPictures::standIn();
    }
    QList<PdfPictures::Encoded> encoded;
};

QString cannotCreate(const QString& path) {
    return u"PDFを作成できません: "_s + path;
}

// Asks before each page whether to go on, and tells the last one done.
void drawPages(int from, int to, const Progress& progress, const QString& activity,
               const std::function<void(int page)>& draw) {
    const qint64 total = std::max(to - from + 1, 0);
    for (int page = from; page <= to; ++page) {
        progress.report({activity, page - from, total, 0});
        draw(page);
    }
    progress.tell({activity, total, total, 0});
}

} // namespace

const QString PdfActivity = u"PDFを作成しています…"_s;

QString pdfSavedText(const QString& path, int pages) {
    return u"PDFを保存しました（"_s + QString::number(pages) + u" 頁）。\r\n"_s +
           QDir::toNativeSeparators(path);
}

QString UnreadPicture::text() const {
    const QString failure = PictureReading::failure(path, reason);
    return row > 0 ? QString::number(row) + u" 行目: "_s + failure : failure;
}

QString unreadText(const QList<UnreadPicture>& unread) {
    if (unread.isEmpty()) return {};
    QList<int> rows;
    for (const UnreadPicture& picture : unread)
        if (picture.row > 0) rows.append(picture.row);
    QString text = u"次の行は写真を読めなかったため、写真の枠を空けて出力しました。"_s;
    if (!rows.isEmpty()) text += u"\n行 "_s + describeRows(rows);
    return text + u"\n\n"_s + unread.first().text();
}

QSize picturePixels(const PictureOp& op, double dpi) {
    const QRectF rect = pictureRect(op);
    return QSize(std::max(1, int(std::ceil(rect.width() * dpi / TwipsPerInch))),
                 std::max(1, int(std::ceil(rect.height() * dpi / TwipsPerInch))));
}

void renderPage(const PrintDocument& document, int page, QPainter& painter, double deviceDpi,
                double pictureDpi, PictureSupply* pictures) {
    if (page < 1 || page > document.PageCount()) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(deviceDpi / TwipsPerInch, deviceDpi / TwipsPerInch);
    const OpPainter draw{painter, std::min(deviceDpi, pictureDpi), pictures};
    for (const DrawOp& op : document.page(page))
        std::visit(draw, op);
    painter.restore();
}

QList<UnreadPicture> renderPages(const PrintDocument& document, int from, int to, QPainter& painter,
                                 double deviceDpi, const std::function<void(int page)>& startPage,
                                 const Progress& progress) {
    const double dpi = std::min(deviceDpi, PictureDpi);
    const int threads = threadsOr(0);
    PictureLookahead lookahead(pagePictures(document, from, to, dpi), preparePixels, threads,
                               aheadFor(threads));
    AheadSupply supply(lookahead);
    drawPages(from, to, progress, {}, [&](int page) {
        startPage(page);
        renderPage(document, page, painter, deviceDpi, PictureDpi, &supply);
    });
    return supply.unread;
}

QList<UnreadPicture> writePdf(const PrintDocument& document, const QString& path, int from, int to,
                              int threads, const Progress& progress) {
    const OutputFolder folder(QFileInfo(path).absolutePath());
    threads = threadsOr(threads);
    PictureLookahead lookahead(pagePictures(document, from, to, PictureDpi), prepareJpeg, threads,
                               aheadFor(threads));
    PdfSupply supply(lookahead);
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
        if (!painter.begin(&writer)) throw AppError(cannotCreate(path));
        drawPages(from, to, progress, PdfActivity, [&](int page) {
            // Pages for a folder that has gone would only be thrown away.
            folder.check();
            if (page > from) writer.newPage();
            renderPage(document, page, painter, TwipsPerInch, PictureDpi, &supply);
        });
        painter.end();
    }
    const std::optional<QByteArray> embedded = PdfPictures::embed(bytes, supply.encoded);
    if (!embedded) throw AppError(cannotCreate(path));
    bytes.clear();
    writeFileAtomically(path, *embedded, u"PDFを保存できません。"_s, &folder);
    return supply.unread;
}
