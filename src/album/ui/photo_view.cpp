#include "album/ui/photo_view.h"

#include "app/picture_limit.h"

#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

// Enough pixels for a sharp picture a few zoom steps deep without decoding the whole photo.
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
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid()) {
        if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
        const QSize wanted = PhotoInfo::Zoom::ViewSize * DetailFactor;
        if (size.width() > wanted.width() || size.height() > wanted.height()) {
            QSize scaled = size.scaled(wanted, Qt::KeepAspectRatio);
            // The reader scales before it rotates.
            if (reader.transformation() & QImageIOHandler::TransformationRotate90) scaled.transpose();
            reader.setScaledSize(scaled);
        }
    }
    image_ = PictureLimit::allows(reader) ? reader.read() : QImage();
    zoom_.reset();
    update();
    return !image_.isNull();
}

void PhotoView::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
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
    update();
}
