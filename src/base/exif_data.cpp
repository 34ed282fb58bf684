#include "base/exif_data.h"

#include "base/jpeg_segments.h"

#include <QFile>

namespace ExifData {

namespace {

const QByteArray ExifHeader("Exif\0\0", 6);

// Bytes of one value of each TIFF type; unknown types count as one byte.
int typeSize(quint16 type) {
    switch (type) {
    case 3: // SHORT
    case 8: // SSHORT
        return 2;
    case 4:  // LONG
    case 9:  // SLONG
    case 11: // FLOAT
        return 4;
    case 5:  // RATIONAL
    case 10: // SRATIONAL
    case 12: // DOUBLE
        return 8;
    default:
        return 1;
    }
}

// Photos with a hundred segments ahead of the picture do not exist; a damaged file might
// claim them.
constexpr int MaxSegments = 64;

} // namespace

Tiff Tiff::fromApp1(const QByteArray& app1) {
    Tiff tiff;
    if (!app1.startsWith(ExifHeader)) return tiff;
    tiff.data_ = app1.mid(ExifHeader.size());
    tiff.littleEndian_ = tiff.data_.startsWith("II");
    tiff.valid_ = tiff.littleEndian_ || tiff.data_.startsWith("MM");
    return tiff;
}

quint32 Tiff::number(qint64 pos, int width) const {
    if (pos < 0 || pos + width > data_.size()) return 0;
    quint32 value = 0;
    for (int i = 0; i < width; ++i) {
        const quint32 byte = quint8(data_.at(pos + (littleEndian_ ? width - 1 - i : i)));
        value = (value << 8) | byte;
    }
    return value;
}

quint32 Tiff::nextIfd(quint32 ifd) const {
    if (ifd == 0) return 0;
    const quint32 entries = number(ifd, 2);
    return number(qint64(ifd) + 2 + 12 * qint64(entries), 4);
}

std::optional<Tiff::Entry> Tiff::find(quint32 ifd, quint16 tag) const {
    if (ifd == 0) return std::nullopt;
    const quint32 entries = number(ifd, 2);
    for (quint32 e = 0; e < entries; ++e) {
        const qint64 at = qint64(ifd) + 2 + 12 * qint64(e);
        if (at + 12 > data_.size()) break;
        if (number(at, 2) != tag) continue;
        Entry entry{quint16(number(at + 2, 2)), number(at + 4, 4), 0};
        const qint64 size = qint64(entry.count) * typeSize(entry.type);
        // Values of four bytes or fewer stand in the entry itself.
        entry.value = size <= 4 ? quint32(at + 8) : number(at + 8, 4);
        return entry;
    }
    return std::nullopt;
}

std::optional<quint32> Tiff::unsignedValue(quint32 ifd, quint16 tag) const {
    const std::optional<Entry> entry = find(ifd, tag);
    if (!entry || entry->count != 1 || (entry->type != 3 && entry->type != 4)) return std::nullopt;
    return number(entry->value, entry->type == 3 ? 2 : 4);
}

QByteArray Tiff::bytes(quint32 offset, quint32 length) const {
    if (qint64(offset) + qint64(length) > data_.size()) return {};
    return data_.mid(offset, length);
}

Preview previewOf(const QByteArray& app1) {
    Preview preview;
    const Tiff tiff = Tiff::fromApp1(app1);
    if (!tiff.isValid()) return preview;
    const quint32 ifd0 = tiff.firstIfd();
    const quint32 orientation = tiff.unsignedValue(ifd0, 0x0112).value_or(1);
    if (orientation >= 1 && orientation <= 8) preview.orientation = int(orientation);
    const quint32 ifd1 = tiff.nextIfd(ifd0);
    // An IFD1 that points back at IFD0 would name IFD0's tags as the preview's.
    if (ifd1 == 0 || ifd1 == ifd0) return preview;
    const std::optional<quint32> offset = tiff.unsignedValue(ifd1, 0x0201);
    const std::optional<quint32> length = tiff.unsignedValue(ifd1, 0x0202);
    if (!offset || !length || *offset == 0 || *length < 4) return preview;
    const QByteArray jpeg = tiff.bytes(*offset, *length);
    if (jpeg.startsWith("\xFF\xD8")) preview.jpeg = jpeg;
    return preview;
}

QByteArray app1Of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(2) != QByteArrayLiteral("\xFF\xD8")) return {};
    const JpegSegments::ReadAt read = [&](qint64 pos, qint64 n) {
        return file.seek(pos) ? file.read(n) : QByteArray();
    };
    QByteArray exif;
    JpegSegments::walk(
        read,
        [&](const JpegSegments::Segment& segment) {
            if (JpegSegments::isFrameHeader(segment.marker)) return false;
            if (segment.marker != 0xE1) return true;
            // A segment holds at most 65533 bytes, so this read is bounded whatever it claims.
            const QByteArray body = read(segment.bodyStart, segment.bodyLength);
            if (!body.startsWith(ExifHeader)) return true;
            exif = body;
            return false;
        },
        MaxSegments);
    return exif;
}

} // namespace ExifData
