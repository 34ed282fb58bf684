#include "support/photo_files.h"
#include "support/test_files.h"
#include "tovenla_version.h"
#include "viewer/ui/about_box.h"
#include "viewer/ui/full_screen_viewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void press(QWidget* widget, Qt::MouseButton button, QPoint at) {
    QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void key(QWidget* widget, int code) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(FullScreenViewer, ShowsThePhotoCentredAndAnyClickOrKeyClosesIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"photo.jpg"_s);
    writeJpeg(path, twoColourImage({400, 300}, Qt::red, Qt::blue));
    frmFullScreen viewer;
    QLabel* picture = viewer.findChild<QLabel*>(u"Picture1"_s);
    ASSERT_TRUE(picture);

    const auto open = [&] {
        ASSERT_TRUE(viewer.showPhoto(path));
        ASSERT_TRUE(viewer.isVisible());
        EXPECT_EQ(viewer.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
        EXPECT_EQ(picture->geometry().center(), viewer.rect().center());
        EXPECT_FALSE(picture->pixmap().isNull());
    };
    const auto expectClosed = [&] {
        EXPECT_FALSE(viewer.isVisible());
        EXPECT_TRUE(picture->pixmap().isNull()) << "the photo is let go";
    };

    open();
    press(picture, Qt::LeftButton, picture->rect().center());
    expectClosed();
    open();
    press(&viewer, Qt::RightButton, QPoint(2, 2)); // beside the photo
    expectClosed();
    open();
    key(picture, Qt::Key_Space);
    expectClosed();

    writeBytes(dir.filePath(u"broken.jpg"_s), "no picture");
    EXPECT_FALSE(viewer.showPhoto(dir.filePath(u"broken.jpg"_s)));
    EXPECT_FALSE(viewer.showPhoto(u"C:\\photos\\P001.JPG"_s));
    EXPECT_FALSE(viewer.isVisible());
}

TEST(FullScreenViewer, APhotoLargerThanTheScreenIsMadeToFit) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"big.jpg"_s);
    frmFullScreen viewer;
    const QSize screen = viewer.screen()->geometry().size();
    writeJpeg(path, twoColourImage(screen * 2, Qt::red, Qt::blue));
    ASSERT_TRUE(viewer.showPhoto(path));
    const QRect shown = viewer.findChild<QLabel*>(u"Picture1"_s)->geometry();
    EXPECT_TRUE(viewer.rect().contains(shown));
    EXPECT_TRUE(shown.width() == screen.width() || shown.height() == screen.height());
    viewer.closeView();
}

TEST(AboutBox, ShowsTitleAndBuildVersionAndOnlyHidesWhenClosed) {
    EXPECT_EQ(frmAbout::versionCaption(u"2.0.3"_s), u"バージョン  2.03"_s);
    EXPECT_EQ(frmAbout::versionCaption(u"1.12.0"_s), u"バージョン  1.120"_s);

    frmAbout about;
    EXPECT_EQ(about.windowTitle(), u"Tovenla2のバージョン情報"_s);
    EXPECT_EQ(about.findChild<QLabel*>(u"lblTitle"_s)->text(), u"ソフトウェア  Tovenla2"_s);
    EXPECT_EQ(about.findChild<QLabel*>(u"lblVersion"_s)->text(),
              frmAbout::versionCaption(QStringLiteral(TOVENLA_VERSION)));
    EXPECT_FALSE(about.findChild<QLabel*>(u"picIcon"_s)->pixmap().isNull());
    auto* disclaimer = about.findChild<QPlainTextEdit*>(u"txtDisclaimer"_s);
    ASSERT_TRUE(disclaimer);
    EXPECT_TRUE(disclaimer->isReadOnly());
    EXPECT_FALSE(disclaimer->toPlainText().isEmpty());

    about.show();
    about.findChild<QPushButton*>(u"cmdOK"_s)->click();
    EXPECT_FALSE(about.isVisible());
    about.show();
    about.close(); // the window's close box
    EXPECT_FALSE(about.isVisible());
    about.show();
    EXPECT_TRUE(about.isVisible()) << "kept for the next use";
    about.hide();
}
