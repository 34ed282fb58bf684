#include "base/jpeg_segments.h"

#include "base/exif_data.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace JpegSegments {

namespace {

const QByteArray ExifId = QByteArrayLiteral("Exif\0\0");
const QByteArray XmpId = QByteArrayLiteral("http://ns.adobe.com/xap/1.0/\0");
const QByteArray ExtendedXmpId = QByteArrayLiteral("http://ns.adobe.com/xmp/extension/\0");

void keep(Metadata& metadata, const QByteArray& body) {
    if (body.startsWith(ExifId)) {
        if (!metadata.taken.isValid()) metadata.taken = exifDateTaken(body);
    } else if (body.startsWith(XmpId)) {
        if (metadata.xmp.isEmpty()) metadata.xmp = body.mid(XmpId.size());
    } else if (body.startsWith(ExtendedXmpId)) {
        metadata.extendedXmp << body.mid(ExtendedXmpId.size());
    }
}

} // namespace

quint32 number(const QByteArray& data, qint64 pos, int width, bool littleEndian) {
    if (pos < 0 || pos + width > data.size()) return 0;
    quint32 value = 0;
    for (int i = 0; i < width; ++i) {
        const quint32 byte = quint8(data.at(pos + (littleEndian ? width - 1 - i : i)));
        value = (value << 8) | byte;
    }
    return value;
}

QDate exifDateTaken(const QByteArray& app1) {
    const ExifData::Tiff tiff = ExifData::Tiff::fromApp1(app1);
    if (!tiff.isValid()) return {};
    const std::optional<ExifData::Tiff::Entry> pointer = tiff.find(tiff.firstIfd(), 0x8769);
    const quint32 exifIfd = pointer ? tiff.number(pointer->value, 4) : 0;
    const std::optional<ExifData::Tiff::Entry> taken = tiff.find(exifIfd, 0x9003);
    if (!taken || taken->count < 10) return {};
    // "CCYY:MM:DD HH:MM:SS"
    return QDate::fromString(QString::fromLatin1(tiff.bytes(taken->value, 10)), u"yyyy:MM:dd"_s);
}

Metadata read(const QString& path) {
    Metadata metadata;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(3) != QByteArrayLiteral("\xFF\xD8\xFF")) return metadata;
    metadata.jpeg = true;
    const ReadAt read = [&](qint64 pos, qint64 n) { return file.seek(pos) ? file.read(n) : QByteArray(); };
    const WalkEnd end = walk(read, [&](const Segment& segment) {
        if (segment.marker == 0xE1) keep(metadata, read(segment.bodyStart, segment.bodyLength));
        return true;
    });
    metadata.truncated = end == WalkEnd::Limit;
    return metadata;
}

WalkEnd walk(const ReadAt& read, const std::function<bool(const Segment&)>& visit, int maxSegments) {
    qint64 pos = 2;
    for (int segment = 0;; ++segment) {
        if (segment >= maxSegments || pos > MaxHeaderBytes) return WalkEnd::Limit;
        const QByteArray mark = read(pos, 4);
        if (mark.size() < 2 || quint8(mark.at(0)) != 0xFF) return WalkEnd::Broken;
        const quint8 marker = quint8(mark.at(1));
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return WalkEnd::CodedData;
        if (mark.size() < 4) return WalkEnd::Broken;
        const qint64 length = number(mark, 2, 2, false);
        if (length < 2) return WalkEnd::Broken;
        if (!visit({marker, pos, pos + 4, length - 2})) return WalkEnd::Stopped;
        pos += 2 + length;
    }
}

} // namespace JpegSegments
