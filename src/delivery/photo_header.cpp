#include "delivery/photo_header.h"

#include "base/jpeg_segments.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace PhotoHeaders {

namespace {

using JpegSegments::number;

constexpr qint64 Chunk = 64 * 1024;

// A window of the file: most photos hold everything up to the frame header in the first chunk.
class Reader {
public:
    explicit Reader(QFile& file) : file_(file) {}

    // The n bytes at pos, or fewer at the end of the file.
    QByteArray bytes(qint64 pos, qint64 n) {
        if (pos < start_ || pos + n > start_ + buffer_.size()) {
            if (!file_.seek(pos)) return {};
            buffer_ = file_.read(std::max(n, Chunk));
            start_ = pos;
        }
        return buffer_.mid(pos - start_, n);
    }

private:
    QFile& file_;
    QByteArray buffer_;
    qint64 start_ = 0;
};

// Where the coded data that starts at pos is followed by a marker, or -1 when the file ends
// first. Inside coded data 0xFF is followed by 0x00 (a stuffed byte), a restart marker or
// another 0xFF (fill); anything else is a marker.
qint64 afterCodedData(Reader& reader, qint64 pos) {
    for (;;) {
        const QByteArray chunk = reader.bytes(pos, Chunk);
        if (chunk.size() < 2) return -1;
        qsizetype at = chunk.indexOf('\xFF');
        while (at >= 0 && at + 1 < chunk.size()) {
            const quint8 next = quint8(chunk.at(at + 1));
            if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) return pos + at;
            at = chunk.indexOf('\xFF', at + 1);
        }
        if (at < 0 && chunk.size() < Chunk) return -1;
        pos += at >= 0 ? at : chunk.size(); // a 0xFF ending the chunk is looked at again
    }
}

// Follows segments and coded data from pos to the end marker.
bool reachesEnd(Reader& reader, qint64 pos) {
    for (;;) {
        const QByteArray mark = reader.bytes(pos, 4);
        if (mark.size() < 2 || quint8(mark.at(0)) != 0xFF) return false;
        const quint8 marker = quint8(mark.at(1));
        if (marker == 0xD9) return true;
        if (marker == 0xFF) {
            ++pos;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            pos += 2;
            continue;
        }
        const qint64 length = mark.size() < 4 ? 0 : number(mark, 2, 2, false);
        if (length < 2) return false;
        pos += 2 + length;
        if (marker != 0xDA) continue;
        pos = afterCodedData(reader, pos);
        if (pos < 0) return false;
    }
}

// Most files end with the end marker; only those that do not (data appended after the
// picture, or a file cut short) are read through.
bool isComplete(QFile& file, Reader& reader, qint64 frame) {
    const qint64 size = file.size();
    if (size >= 4 && reader.bytes(size - 2, 2) == QByteArrayLiteral("\xFF\xD9")) return true;
    return reachesEnd(reader, frame);
}

PhotoHeader::Format formatOf(const QByteArray& head) {
    using Format = PhotoHeader::Format;
    if (head.startsWith("\xFF\xD8\xFF")) return Format::Jpeg;
    if (head.startsWith("\x89PNG")) return Format::Png;
    if (head.startsWith("GIF8")) return Format::Gif;
    if (head.startsWith("BM")) return Format::Bmp;
    if (head.startsWith(QByteArrayLiteral("II*\0")) || head.startsWith(QByteArrayLiteral("MM\0*")))
        return Format::Tiff;
    if (head.contains("<svg")) return Format::Svg;
    return Format::Unknown;
}

} // namespace

PhotoHeader read(const QString& path) {
    PhotoHeader header;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return header;
    header.readable = true;
    Reader reader(file);
    header.format = formatOf(reader.bytes(0, 512));
    if (header.format != PhotoHeader::Format::Jpeg) return header;
    JpegSegments::walk([&](qint64 pos, qint64 n) { return reader.bytes(pos, n); },
                       [&](const JpegSegments::Segment& segment) {
                           if (segment.marker == 0xE1 && !header.taken.isValid())
                               header.taken = JpegSegments::exifDateTaken(
                                   reader.bytes(segment.bodyStart, segment.bodyLength));
                           if (!JpegSegments::isFrameHeader(segment.marker)) return true;
                           const QByteArray frame = reader.bytes(segment.bodyStart, 5);
                           if (frame.size() < 5) return false;
                           header.size =
                               QSize(int(number(frame, 3, 2, false)), int(number(frame, 1, 2, false)));
                           header.jpeg = true;
                           header.complete = isComplete(file, reader, segment.start);
                           return false;
                       });
    return header;
}

QString formatName(PhotoHeader::Format format) {
    using Format = PhotoHeader::Format;
    switch (format) {
    case Format::Jpeg:
        return u"JPEG"_s;
    case Format::Tiff:
        return u"TIFF"_s;
    case Format::Png:
        return u"PNG"_s;
    case Format::Bmp:
        return u"BMP"_s;
    case Format::Gif:
        return u"GIF"_s;
    case Format::Svg:
        return u"SVG"_s;
    case Format::Unknown:
        break;
    }
    return {};
}

PhotoHeader::Format formatOfName(const QString& name) {
    using Format = PhotoHeader::Format;
    const QString extension = name.section(u'.', -1).toUpper();
    if (!name.contains(u'.')) return Format::Unknown;
    if (extension == u"JPG"_s) return Format::Jpeg;
    if (extension == u"TIF"_s) return Format::Tiff;
    if (extension == u"SVG"_s) return Format::Svg;
    return Format::Unknown;
}

} // namespace PhotoHeaders
