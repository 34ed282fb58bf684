#include "base/jpeg_segments.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace JpegSegments {

namespace {

const QByteArray ExifId = QByteArrayLiteral("Exif\0\0");
const QByteArray XmpId = QByteArrayLiteral("http://ns.adobe.com/xap/1.0/\0");
const QByteArray ExtendedXmpId = QByteArrayLiteral("http://ns.adobe.com/xmp/extension/\0");

// Offset (from the TIFF header) of the value of `tag` in the IFD at `ifd`, or 0.
quint32 tagValue(const QByteArray& tiff, quint32 ifd, quint16 tag, bool le, quint32* count = nullptr) {
    const quint32 entries = number(tiff, ifd, 2, le);
    for (quint32 e = 0; e < entries; ++e) {
        const qint64 at = qint64(ifd) + 2 + 12 * qint64(e);
        if (at + 12 > tiff.size()) break;
        if (number(tiff, at, 2, le) != tag) continue;
        const quint32 n = number(tiff, at + 4, 4, le);
        if (count) *count = n;
        // Values of four bytes or fewer stand in the entry itself.
        return n <= 4 ? quint32(at + 8) : number(tiff, at + 8, 4, le);
    }
    return 0;
}

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
    if (!app1.startsWith(ExifId)) return {};
    const QByteArray tiff = app1.mid(6);
    const bool le = tiff.startsWith("II");
    if (!le && !tiff.startsWith("MM")) return {};
    const quint32 ifd0 = number(tiff, 4, 4, le);
    const quint32 exifPointer = tagValue(tiff, ifd0, 0x8769, le);
    if (exifPointer == 0) return {};
    const quint32 exifIfd = number(tiff, exifPointer, 4, le);
    quint32 count = 0;
    const quint32 value = tagValue(tiff, exifIfd, 0x9003, le, &count);
    if (value == 0 || count < 10) return {};
    // "CCYY:MM:DD HH:MM:SS"
    return QDate::fromString(QString::fromLatin1(tiff.mid(value, 10)), u"yyyy:MM:dd"_s);
}

Metadata read(const QString& path) {
    Metadata metadata;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(3) != QByteArrayLiteral("\xFF\xD8\xFF")) return metadata;
    metadata.jpeg = true;
    qint64 pos = 2;
    for (int segment = 0;; ++segment) {
        if (segment >= MaxSegments || pos > MaxHeaderBytes) {
            metadata.truncated = true;
            return metadata;
        }
        if (!file.seek(pos)) return metadata;
        const QByteArray mark = file.read(4);
        if (mark.size() < 2 || quint8(mark.at(0)) != 0xFF) return metadata;
        const quint8 marker = quint8(mark.at(1));
        if (marker == 0xFF) { // fill byte
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA || mark.size() < 4) return metadata;
        const qint64 length = number(mark, 2, 2, false);
        if (length < 2) return metadata;
        if (marker == 0xE1) keep(metadata, file.read(length - 2));
        pos += 2 + length;
    }
}

} // namespace JpegSegments
