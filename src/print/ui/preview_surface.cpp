#include "print/ui/preview_surface.h"

#include "print/print_document.h"
#include "print/print_renderer.h"

#include <QPainter>

namespace {

constexpr int Desk = 12; // grey border around the page, pixels

}

PreviewSurface::PreviewSurface(const PrintDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    setObjectName(QStringLiteral("vsPrinter1"));
    setAutoFillBackground(true);
    QPalette desk = palette();
    desk.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(desk);
}

QSize PreviewSurface::pagePixels() const {
    const QSizeF inches = document_.pageSizeTwips() / TwipsPerInch;
    const double scale = logicalDpiX() * document_.zoom() / 100.0;
    return QSize(int(inches.width() * scale), int(inches.height() * scale));
}

QSize PreviewSurface::sizeHint() const {
    return pagePixels() + QSize(2 * Desk, 2 * Desk);
}

void PreviewSurface::refresh() {
    setFixedSize(sizeHint());
    update();
}

void PreviewSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect page(QPoint(Desk, Desk), pagePixels());
    painter.fillRect(page.translated(3, 3), Qt::darkGray);
    if (document_.PageCount() == 0) {
        painter.fillRect(page, Qt::white);
        return;
    }
    const int current = document_.previewPage();
    if (rendered_.isNull() || renderedPage_ != current || renderedZoom_ != document_.zoom()) {
        const double ratio = devicePixelRatioF();
        rendered_ = QImage(page.size() * ratio, QImage::Format_RGB32);
        rendered_.setDevicePixelRatio(ratio);
        rendered_.fill(Qt::white);
        QPainter pagePainter(&rendered_);
        const double dpi = logicalDpiX() * document_.zoom() / 100.0;
        pictures_.keepAround(document_, current, dpi);
        renderPage(document_, current, pagePainter, dpi, PictureDpi, &pictures_);
        renderedPage_ = current;
        renderedZoom_ = document_.zoom();
    }
    painter.drawImage(page.topLeft(), rendered_);
}
