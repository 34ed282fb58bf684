#include "base/picture_decode.h"
#include "support/photo_files.h"

#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// A camera held upright stores its picture lying down with an EXIF orientation: the picture
// must come upright and whole inside the box, whichever way the box is turned.
TEST(PictureDecode, FitsTheUprightPictureIntoTheBox) {
    QTemporaryDir dir;
    const QString turned = dir.filePath(u"turned.jpg"_s);
    writeJpeg(turned, twoColourImage({400, 300}, Qt::red, Qt::blue), 6);
    const QString plain = dir.filePath(u"plain.jpg"_s);
    writeJpeg(plain, twoColourImage({400, 300}, Qt::red, Qt::blue));

    for (const QSize box : {QSize(246, 144), QSize(144, 246), QSize(100, 100)}) {
        const QImage upright = PictureDecode::fitted(turned, box).image;
        ASSERT_FALSE(upright.isNull());
        EXPECT_LT(upright.width(), upright.height()) << box.width() << "x" << box.height();
        EXPECT_LE(upright.width(), box.width());
        EXPECT_LE(upright.height(), box.height());
        EXPECT_TRUE(upright.width() == box.width() || upright.height() == box.height()) << "as large as fits";
        // Turned a quarter clockwise: the left half (red) is now on top.
        EXPECT_TRUE(isNear(upright.pixelColor(upright.width() / 2, 2), Qt::red));

        const QImage lying = PictureDecode::fitted(plain, box).image;
        EXPECT_GT(lying.width(), lying.height());
        EXPECT_LE(lying.width(), box.width());
        EXPECT_LE(lying.height(), box.height());
    }
    EXPECT_EQ(PictureDecode::fitted(turned, {}).image.size(), QSize(300, 400)) << "no box: its own size";
    EXPECT_EQ(PictureDecode::fitted(turned, {1000, 1000}).image.size(), QSize(300, 400)) << "never enlarged";
}

namespace {

// Four quarters of four colours: any wrong turn or mirror moves one.
QImage quarters(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width() / 2, h = size.height() / 2;
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y, colours[(y >= h) * 2 + (x >= w)]);
    return image;
}

QImage readThroughQt(const QString& path, QSize size) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setScaledSize(size);
    return reader.read();
}

bool looksAlike(const QImage& ours, const QImage& qts) {
    if (ours.size() != qts.size()) return false;
    for (int y = ours.height() / 8; y < ours.height(); y += ours.height() / 4)
        for (int x = ours.width() / 8; x < ours.width(); x += ours.width() / 4)
            if (!isNear(ours.pixelColor(x, y), qts.pixelColor(x, y))) return false;
    return true;
}

} // namespace

// The scaled decode must give what Qt's reader gives, whatever the turn, the colours or the
// damage; pictures it cannot decode itself still come through the reader.
TEST(PictureDecode, ReadsScaledAsTheReaderDoes) {
    QTemporaryDir dir;
    const QSize stored(1600, 1200), wanted(530, 397);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString path = dir.filePath(u"o%1.jpg"_s.arg(orientation));
        writeJpeg(path, quarters(stored), orientation);
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QImage ours = PictureDecode::readScaled(reader, wanted);
        EXPECT_TRUE(looksAlike(ours, readThroughQt(path, wanted))) << "orientation " << orientation;
    }

    const QString grey = dir.filePath(u"grey.jpg"_s);
    quarters(stored).convertToFormat(QImage::Format_Grayscale8).save(grey, "JPEG", 90);
    QImageReader greyReader(grey);
    const QImage greyImage = PictureDecode::readScaled(greyReader, wanted);
    EXPECT_EQ(greyImage.format(), QImage::Format_Grayscale8);
    EXPECT_TRUE(looksAlike(greyImage, readThroughQt(grey, wanted)));

    const QString wide = dir.filePath(u"p3.jpg"_s);
    QImage p3 = quarters(stored);
    p3.setColorSpace(QColorSpace::DisplayP3);
    p3.save(wide, "JPEG", 90);
    QImageReader wideReader(wide);
    EXPECT_EQ(PictureDecode::readScaled(wideReader, wanted).colorSpace(), QColorSpace(QColorSpace::DisplayP3))
        << "the colour profile goes with the picture";

    const QString cut = dir.filePath(u"cut.jpg"_s);
    QByteArray bytes = jpegBytes(quarters(stored));
    bytes.truncate(bytes.size() / 2);
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QImageReader cutReader(cut);
    const QImage half = PictureDecode::readScaled(cutReader, wanted);
    EXPECT_EQ(half.size(), wanted) << "a photo cut short shows as far as it goes";
    EXPECT_TRUE(isNear(half.pixelColor(10, 10), Qt::red));

    const QString png = dir.filePath(u"plain.png"_s);
    quarters(stored).save(png, "PNG");
    QImageReader pngReader(png);
    EXPECT_TRUE(looksAlike(PictureDecode::readScaled(pngReader, wanted), readThroughQt(png, wanted)));

    QImageReader whole(dir.filePath(u"o1.jpg"_s));
    EXPECT_EQ(PictureDecode::readScaled(whole, {3200, 100}).size(), stored) << "larger one way: whole";
}
