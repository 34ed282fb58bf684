#include "base/app_error.h"
#include "base/picture_decode.h"
#include "base/picture_limit.h"
#include "print/print_document.h"
#include "support/photo_files.h"
#include "support/test_files.h"
#include "viewer/thumbnailer.h"
#include "xlsx/picture_prep.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray encoded(const char* format) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

quint32 crc32(const char* data, qsizetype size) {
    quint32 crc = 0xFFFFFFFF;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= quint8(data[i]);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

// A small real PNG whose IHDR claims another size, with its checksum made right again.
QByteArray pngClaiming(quint32 width, quint32 height) {
    QByteArray bytes = encoded("PNG");
    char* ihdr = bytes.data() + 12; // after the signature and the chunk length
    qToBigEndian(width, ihdr + 4);
    qToBigEndian(height, ihdr + 8);
    qToBigEndian(crc32(ihdr, 17), ihdr + 17);
    return bytes;
}

} // namespace

class PictureLimitTest : public testing::Test {
protected:
    void SetUp() override {
        files = {{u"huge.jpg"_s, jpegClaiming(30000, 30000)}, {u"huge.png"_s, pngClaiming(100000, 100000)}};
        for (const auto& [name, bytes] : files)
            writeBytes(dir.filePath(name), bytes);
        writeBytes(dir.filePath(u"ok.jpg"_s), encoded("JPEG"));
    }
    QTemporaryDir dir;
    QList<std::pair<QString, QByteArray>> files;
};

TEST_F(PictureLimitTest, HeadersAreReallyReadAsClaimed) {
    for (const auto& [name, bytes] : files) {
        QImageReader reader(dir.filePath(name));
        EXPECT_GT(qint64(reader.size().width()) * reader.size().height(), PictureLimit::MaxPixels)
            << name.toStdString();
        EXPECT_FALSE(PictureLimit::allows(reader)) << name.toStdString();
    }
    QImageReader ok(dir.filePath(u"ok.jpg"_s));
    EXPECT_TRUE(PictureLimit::allows(ok));
}

TEST_F(PictureLimitTest, EveryDecoderRefusesAClaimedHugePictureQuickly) {
    QElapsedTimer timer;
    timer.start();
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(name);
        const std::string shown = name.toStdString();
        EXPECT_TRUE(Thumbnailer::decode(path, QSize(160, 120)).isNull()) << shown;
        EXPECT_TRUE(Thumbnailer::decode(path, QSize()).isNull()) << shown;
        EXPECT_EQ(preparePicture({path, QSize(400, 300)}).error, PictureLimit::TooLarge) << shown;
        try {
            PictureSource::fromFile(path);
            ADD_FAILURE() << shown << " was accepted for printing";
        } catch (const AppError& error) {
            EXPECT_TRUE(error.message().contains(path)) << shown;
            EXPECT_TRUE(error.message().contains(PictureLimit::TooLarge)) << shown;
        }
    }
    EXPECT_LT(timer.elapsed(), 5000);
    // A picture of ordinary size still goes through each of them.
    const QString ok = dir.filePath(u"ok.jpg"_s);
    EXPECT_FALSE(Thumbnailer::decode(ok, QSize(8, 8)).isNull());
    EXPECT_TRUE(preparePicture({ok, QSize(400, 300)}).error.isEmpty());
    EXPECT_EQ(PictureSource::fromFile(ok)->size, QSize(16, 16));
}

TEST_F(PictureLimitTest, ADecodeSaysWhenItRefusedAPictureForItsSize) {
    for (const auto& [name, bytes] : files) {
        const PictureDecode::Result refused = PictureDecode::fitted(dir.filePath(name), QSize(160, 120));
        EXPECT_TRUE(refused.image.isNull()) << name.toStdString();
        EXPECT_TRUE(refused.tooLarge) << name.toStdString();
    }
    writeBytes(dir.filePath(u"broken.jpg"_s), "not a picture");
    EXPECT_FALSE(PictureDecode::fitted(dir.filePath(u"broken.jpg"_s), QSize(160, 120)).tooLarge);
    EXPECT_FALSE(PictureDecode::fitted(dir.filePath(u"ok.jpg"_s), QSize(160, 120)).tooLarge);
}
