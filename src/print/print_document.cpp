#include "print/print_document.h"

#include "base/app_error.h"
#include "base/photo_file.h"
#include "base/picture_decode.h"
#include "base/picture_limit.h"
#include "base/picture_reading.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImageReader>
#include <QPalette>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr double TwipsPerMmExact = TwipsPerInch / 25.4;

QSize uprightSize(QImageReader& reader) {
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
    return size;
}

} // namespace

std::shared_ptr<const PictureSource> PictureSource::fromFile(const QString& path, int row) {
    QImageReader reader(PhotoFile::resolve(path));
    reader.setAutoTransform(true);
    if (!PictureLimit::allows(reader)) throw AppError(PictureReading::failure(path, PictureLimit::TooLarge));
    const QSize size = uprightSize(reader);
    if (!reader.canRead() || size.isEmpty())
        throw AppError(
            PictureReading::failure(path, PictureReading::reason(reader.fileName(), reader.error())));
    auto picture = std::make_shared<PictureSource>();
    picture->path = reader.fileName();
    picture->size = size;
    picture->row = row;
    return picture;
}

std::shared_ptr<const PictureSource> PictureSource::fromImage(const QImage& image) {
    auto picture = std::make_shared<PictureSource>();
    picture->size = image.size();
    picture->image = image;
    return picture;
}

QImage decodePicture(const PictureSource& picture, QSize maxSize) {
    const QSize target = picture.size.scaled(maxSize.boundedTo(picture.size), Qt::KeepAspectRatio);
    if (!picture.image.isNull())
        return target == picture.image.size()
                   ? picture.image
                   : picture.image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QImageReader reader(picture.path);
    reader.setAutoTransform(true);
    if (!PictureLimit::allows(reader)) return {}; // the file changed since it was measured
    // The scaled size applies before the EXIF turn: a turned picture is asked for turned back.
    QSize decoded = target;
    if (reader.transformation() & QImageIOHandler::TransformationRotate90) decoded.transpose();
    return PictureDecode::readScaled(reader, decoded);
}

QSizeF PrintDocument::pageSizeMm() const {
    const QSizeF portrait = paperSize_ == PaperA3 ? QSizeF(297, 420) : QSizeF(210, 297);
    return orientation_ == Landscape ? portrait.transposed() : portrait;
}

QSizeF PrintDocument::pageSizeTwips() const {
    return pageSizeMm() * TwipsPerMmExact;
}

void PrintDocument::setZoom(int percent) {
    zoom_ = std::clamp(percent, 5, 400);
}

QColor PrintDocument::colorOf(quint32 value) {
    if (value == SystemWindowText) return QGuiApplication::palette().color(QPalette::WindowText);
    if (value == SystemButtonFace) return QGuiApplication::palette().color(QPalette::Button);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void PrintDocument::setTextColor(quint32 value) {
    textColor_ = colorOf(value);
}

void PrintDocument::StartDoc() {
    pages_.clear();
    pages_.emplaceBack();
    ended_ = false;
    previewPage_ = 1;
}

void PrintDocument::NewPage() {
    pages_.emplaceBack();
}

void PrintDocument::setPreviewPage(int page) {
    previewPage_ = std::clamp(page, 1, std::max(1, PageCount()));
}

QList<DrawOp>& PrintDocument::currentPage() {
    if (pages_.isEmpty()) pages_.emplaceBack();
    return pages_.last();
}

QFont PrintDocument::fontFor(const QString& name, double points) {
    QFont font(name);
    font.setPixelSize(std::max(1, int(std::lround(points * 20))));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void PrintDocument::Print(const QString& text) {
    currentPage().append(TextOp{CurrentX, CurrentY, text, FontName, FontSize, textColor_});
}

double PrintDocument::TextWidth(const QString& text) const {
    return QFontMetricsF(fontFor(FontName, FontSize)).horizontalAdvance(text);
}

void PrintDocument::DrawPicture(std::shared_ptr<const PictureSource> picture, double x1, double y1, double x2,
                                double y2) {
    currentPage().append(PictureOp{x1, y1, x2, y2, std::move(picture)});
}

void PrintDocument::DrawLine(double x1, double y1, double x2, double y2) {
    currentPage().append(LineOp{x1, y1, x2, y2, PenWidth});
}

void PrintDocument::DrawRectangle(double x1, double y1, double x2, double y2) {
    currentPage().append(RectangleOp{x1, y1, x2, y2, PenWidth, BrushStyle});
}

void PrintDocument::DrawCircle(double cx, double cy, double radius) {
    currentPage().append(CircleOp{cx, cy, radius, PenWidth, BrushStyle});
}
