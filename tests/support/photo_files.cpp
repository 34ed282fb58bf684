#include "support/photo_files.h"

#include "support/test_files.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <cstdlib>

QImage twoColourImage(QSize size, QColor left, QColor right) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.fillRect(0, 0, size.width() / 2, size.height(), left);
    painter.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), right);
    return image;
}

void writeJpeg(const QString& path, const QImage& image, int exifOrientation) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    if (exifOrientation != 0) {
        // Big-endian TIFF header, one IFD entry: Orientation (0x0112), SHORT, 1 value.
        const char tiff[] = {'M',  'M',  0, 42, 0, 0, 0, 8, 0, 1,
                             0x01, 0x12, 0, 3,  0, 0, 0, 1, 0, char(exifOrientation),
                             0,    0,    0, 0,  0, 0};
        QByteArray payload = QByteArray("Exif\0\0", 6) + QByteArray(tiff, sizeof tiff);
        const int length = int(payload.size()) + 2;
        QByteArray segment("\xFF\xE1");
        segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
        bytes.insert(2, segment); // right after the start-of-image marker
    }
    writeBytes(path, bytes);
}

QByteArray jpegBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

QByteArray exifSegment(const QByteArray& preview, int orientation, bool littleEndian) {
    QByteArray tiff = littleEndian ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4);
    const auto put = [&](quint32 value, int width) {
        for (int i = 0; i < width; ++i) {
            const int shift = 8 * (littleEndian ? i : width - 1 - i);
            tiff.append(char((value >> shift) & 0xFF));
        }
    };
    const auto entry = [&](quint16 tag, quint16 type, quint32 value) {
        put(tag, 2);
        put(type, 2);
        put(1, 4);
        put(value, type == 3 ? 2 : 4);
        if (type == 3) put(0, 2);
    };
    put(8, 4);
    // IFD0 at 8: orientation; IFD1 at 26: where the preview is and how long; preview at 56.
    put(1, 2);
    entry(0x0112, 3, quint32(orientation));
    put(preview.isEmpty() ? 0 : 26, 4);
    if (!preview.isEmpty()) {
        put(2, 2);
        entry(0x0201, 4, 56);
        entry(0x0202, 4, quint32(preview.size()));
        put(0, 4);
        tiff.append(preview);
    }
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(payload.size()) + 2;
    QByteArray segment("\xFF\xE1");
    return segment.append(char(length >> 8)).append(char(length & 0xFF)).append(payload);
}

void writeJpegWithSegment(const QString& path, const QImage& image, const QByteArray& segment) {
    writeBytes(path, jpegBytes(image).insert(2, segment));
}

QByteArray jpegClaiming(quint16 width, quint16 height) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    const qsizetype sof = bytes.indexOf("\xFF\xC0");
    if (sof < 0) return {};
    qToBigEndian(height, bytes.data() + sof + 5);
    qToBigEndian(width, bytes.data() + sof + 7);
    return bytes;
}

void touchLater(const QString& path, int seconds) {
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QFileInfo(path).lastModified().addSecs(seconds), QFileDevice::FileModificationTime);
}

bool isNear(QColor actual, QColor expected) {
    return std::abs(actual.red() - expected.red()) < 40 && std::abs(actual.green() - expected.green()) < 40 &&
           std::abs(actual.blue() - expected.blue()) < 40;
}
