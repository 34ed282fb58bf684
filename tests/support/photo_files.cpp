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
