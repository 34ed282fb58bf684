#include "viewer/ui/full_screen_viewer.h"

#include "base/picture_decode.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

using namespace Qt::StringLiterals;

frmFullScreen::frmFullScreen(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setObjectName(u"frmFullScreen"_s);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    Picture1_ = new QLabel(this);
    Picture1_->setObjectName(u"Picture1"_s);
    Picture1_->setFocusPolicy(Qt::StrongFocus);
    Picture1_->installEventFilter(this);
}

bool frmFullScreen::showPhoto(const QString& path, bool* tooLarge) {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    const PictureDecode::Result decoded = PictureDecode::fitted(path, area.size() * ratio);
    if (tooLarge) *tooLarge = decoded.tooLarge;
    QImage photo = decoded.image;
    if (photo.isNull()) return false;
    photo.setDevicePixelRatio(ratio);

    setGeometry(area);
    const QSize shown = photo.size() / ratio;
    Picture1_->setPixmap(QPixmap::fromImage(photo));
    Picture1_->setGeometry(
        QRect(QPoint((area.width() - shown.width()) / 2, (area.height() - shown.height()) / 2), shown));
    show();
    raise();
    activateWindow();
    Picture1_->setFocus();
    return true;
}

void frmFullScreen::closeView() {
    Picture1_->clear();
    hide();
}

void frmFullScreen::mousePressEvent(QMouseEvent*) {
    closeView();
}

void frmFullScreen::keyPressEvent(QKeyEvent*) {
    closeView();
}

bool frmFullScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1_ &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        closeView();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
