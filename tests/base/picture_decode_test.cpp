#include "base/picture_decode.h"
#include "support/photo_files.h"

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
