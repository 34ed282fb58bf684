#include "album/ui/photo_view.h"

#include "base/picture_decode.h"
#include "base/picture_limit.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

// The first decode: a sharp picture for the first zoom steps at a fraction of a full decode.
constexpr int DetailFactor = 3;

// The photo's place in the view at 100 %: as large as fits, centred.
QRectF fittedRect(QSize image) {
    const QSizeF view = PhotoInfo::Zoom::ViewSize;
    const QSizeF size = QSizeF(image).scaled(view, Qt::KeepAspectRatio);
    return QRectF(QPointF((view.width() - size.width()) / 2, (view.height() - size.height()) / 2), size);
}

} // namespace

PhotoView::PhotoView(QWidget* parent) : QWidget(parent) {
    setFixedSize(PhotoInfo::Zoom::ViewSize);
    setToolTip(u"ﾏｳｽの左ﾎﾞﾀﾝをｸﾘｯｸすると写真を拡大表示し右ｸﾘｯｸで元に戻ります。"_s);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

bool PhotoView::load(const QString& path) {
    const QSize box = PhotoInfo::Zoom::ViewSize * DetailFactor;
    const PictureDecode::Result decoded = PictureDecode::fitted(path, box);
    path_ = path;
    image_ = decoded.image;
    // A photo smaller than the box came whole.
    detailed_ = image_.width() < box.width() && image_.height() < box.height();
    note_ = decoded.tooLarge ? PictureLimit::TooLarge : QString();
    zoom_.reset();
    update();
    return !image_.isNull();
}

// The deepest zoom shows the view's size times its percentage: the photo is decoded at that
// size, or at its own size when it has fewer pixels, replacing the first decode.
void PhotoView::decodeDetail() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QImage detail =
        PictureDecode::fitted(path_, PhotoInfo::Zoom::ViewSize * PhotoInfo::Zoom::MaxPercent / 100).image;
    QGuiApplication::restoreOverrideCursor();
    detailed_ = true;
    if (!detail.isNull()) image_ = std::move(detail);
}

void PhotoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (image_.isNull()) {
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area = zoom_.drawRect();
    const double scale = double(area.width()) / PhotoInfo::Zoom::ViewSize.width();
    const QRectF photo = fittedRect(image_.size());
    const QRectF target(area.left() + photo.left() * scale, area.top() + photo.top() * scale,
                        photo.width() * scale, photo.height() * scale);
    painter.drawImage(target, image_);
}

void PhotoView::mousePressEvent(QMouseEvent* event) {
    if (image_.isNull()) return;
    if (event->button() == Qt::LeftButton)
        zoom_.zoomInAt(event->position().x(), event->position().y());
    else if (event->button() == Qt::RightButton)
        zoom_.reset();
    else
        return;
    if (!detailed_ && zoom_.percent() > DetailFactor * 100) decodeDetail();
    update();
}
