#include "base/exif_data.h"
#include "base/picture_decode.h"
#include "support/photo_files.h"
#include "support/test_files.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Blue with a red top-left quarter: shows both a turn and a mirroring.
QImage cornerImage(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height() / 2, Qt::red);
    return image;
}

// Which corner is red: "TL", "TR", "BL", "BR", or "" when none.
QString redCorner(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const QList<std::pair<QString, QPoint>> corners = {{u"TL"_s, {w / 8, h / 8}},
                                                       {u"TR"_s, {w * 7 / 8, h / 8}},
                                                       {u"BL"_s, {w / 8, h * 7 / 8}},
                                                       {u"BR"_s, {w * 7 / 8, h * 7 / 8}}};
    for (const auto& [name, point] : corners)
        if (isNear(image.pixelColor(point), Qt::red)) return name;
    return {};
}

QByteArray app1Body(const QByteArray& segment) {
    return segment.mid(4);
}

} // namespace

TEST(ExifData, ReadsThePreviewAndOrientationInEitherByteOrder) {
    const QByteArray preview = jpegBytes(cornerImage({160, 120}));
    for (const bool littleEndian : {true, false}) {
        const ExifData::Preview read = ExifData::previewOf(app1Body(exifSegment(preview, 6, littleEndian)));
        EXPECT_EQ(read.jpeg, preview) << littleEndian;
        EXPECT_EQ(read.orientation, 6) << littleEndian;
    }
    const ExifData::Preview none = ExifData::previewOf(app1Body(exifSegment({}, 3, true)));
    EXPECT_TRUE(none.jpeg.isEmpty()) << "an IFD0 alone has no preview";
    EXPECT_EQ(none.orientation, 3);
    EXPECT_EQ(ExifData::previewOf(app1Body(exifSegment(preview, 9, false))).orientation, 1)
        << "an orientation out of range counts as upright";
}

// The preview is stored as the camera held it; every orientation must show it as the photo
// is shown.
TEST(ExifData, PreviewComesUprightAndFittedForEveryOrientation) {
    QTemporaryDir dir;
    const QByteArray preview = jpegBytes(cornerImage({160, 120}));
    const QStringList corners = {u"TL"_s, u"TR"_s, u"BR"_s, u"BL"_s, u"TL"_s, u"TR"_s, u"BR"_s, u"BL"_s};
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString path = dir.filePath(u"o%1.jpg"_s.arg(orientation));
        writeJpegWithSegment(path, QImage(8, 8, QImage::Format_RGB32),
                             exifSegment(preview, orientation, orientation % 2));
        const QImage shown = PictureDecode::exifPreview(path, {});
        ASSERT_FALSE(shown.isNull()) << orientation;
        EXPECT_EQ(shown.size(), orientation >= 5 ? QSize(120, 160) : QSize(160, 120)) << orientation;
        EXPECT_EQ(redCorner(shown), corners.at(orientation - 1)) << orientation;
    }
    const QImage fitted = PictureDecode::exifPreview(dir.filePath(u"o6.jpg"_s), {110, 76});
    EXPECT_EQ(fitted.size(), QSize(57, 76));
    EXPECT_EQ(PictureDecode::exifPreview(dir.filePath(u"o1.jpg"_s), {400, 400}).size(), QSize(160, 120))
        << "never enlarged";
}

// Whatever the offsets claim, nothing is read outside the segment and a bad preview is none.
TEST(ExifData, DamagedOrMissingPreviewsGiveNone) {
    const QByteArray preview = jpegBytes(cornerImage({160, 120}));
    const QByteArray body = app1Body(exifSegment(preview, 1, false));
    // IFD1 at TIFF offset 26; its entries' values at 26 + 2 + 8 (offset) and 26 + 14 + 8 (length).
    const auto patched = [&](int at, quint32 value) {
        QByteArray bytes = body;
        qToBigEndian(value, bytes.data() + 6 + at);
        return bytes;
    };
    const QList<std::pair<const char*, QByteArray>> damaged = {
        {"length past the segment", patched(48, quint32(preview.size()) + 1)},
        {"offset past the segment", patched(36, 0x7FFFFFF0)},
        {"offset and length overflowing", patched(48, 0xFFFFFFF0)},
        {"offset zero", patched(36, 0)},
        {"next IFD back at IFD0", patched(22, 8)},
        {"next IFD past the end", patched(22, 0xFFFFFF00)},
        {"cut short", body.left(60)},
        {"not Exif", QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + body.mid(6)},
        {"no byte order", body.left(6) + "XX" + body.mid(8)},
    };
    for (const auto& [name, bytes] : damaged)
        EXPECT_TRUE(ExifData::previewOf(bytes).jpeg.isEmpty()) << name;

    QByteArray notJpeg = body;
    notJpeg[6 + 56] = 'x';
    EXPECT_TRUE(ExifData::previewOf(notJpeg).jpeg.isEmpty()) << "the preview must start as a JPEG";
    for (int cut = 0; cut < body.size(); cut += 7)
        ExifData::previewOf(body.left(cut)); // no read outside, under the sanitizers too

    QTemporaryDir dir;
    const QString huge = dir.filePath(u"huge.jpg"_s);
    writeJpegWithSegment(huge, QImage(8, 8, QImage::Format_RGB32),
                         exifSegment(jpegClaiming(30000, 20000), 1, true));
    EXPECT_TRUE(PictureDecode::exifPreview(huge, {110, 76}).isNull()) << "a preview claiming a huge size";
    const QString broken = dir.filePath(u"broken.jpg"_s);
    writeJpegWithSegment(broken, QImage(8, 8, QImage::Format_RGB32), exifSegment("\xFF\xD8 broken", 1, true));
    EXPECT_TRUE(PictureDecode::exifPreview(broken, {110, 76}).isNull());
}

TEST(ExifData, FindsTheExifSegmentAmongTheOthersBeforeThePicture) {
    QTemporaryDir dir;
    const QByteArray exif = exifSegment(jpegBytes(cornerImage({160, 120})), 1, true);
    const QByteArray xmp = QByteArray("\xFF\xE1\x00\x10http://ns.ado", 18);
    const QByteArray picture = jpegBytes(QImage(16, 16, QImage::Format_RGB32));

    // The encoder's own JFIF segment comes first, an XMP APP1 before the Exif one.
    const QString behind = dir.filePath(u"behind.jpg"_s);
    writeBytes(behind, QByteArray(picture).insert(picture.indexOf("\xFF\xDB"), xmp + exif));
    EXPECT_EQ(ExifData::app1Of(behind), app1Body(exif));

    // Exif data after the picture data belongs to no photo; the walk stops at the scan.
    const QString after = dir.filePath(u"after.jpg"_s);
    writeBytes(after, picture.left(picture.size() - 2) + exif + "\xFF\xD9");
    EXPECT_TRUE(ExifData::app1Of(after).isEmpty());

    const QString notJpeg = dir.filePath(u"not.jpg"_s);
    writeBytes(notJpeg, "GIF89a" + exif);
    EXPECT_TRUE(ExifData::app1Of(notJpeg).isEmpty());
    EXPECT_TRUE(ExifData::app1Of(dir.filePath(u"absent.jpg"_s)).isEmpty());
    writeBytes(dir.filePath(u"cut.jpg"_s), exif.left(30).prepend("\xFF\xD8"));
    EXPECT_TRUE(ExifData::previewOf(ExifData::app1Of(dir.filePath(u"cut.jpg"_s))).jpeg.isEmpty());
}
