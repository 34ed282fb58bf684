#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <functional>

// The metadata segments of a JPEG, read from its headers: the coded picture is never read.
namespace JpegSegments {

// The unsigned number of `width` bytes at pos; 0 when the data ends before it.
quint32 number(const QByteArray& data, qint64 pos, int width, bool littleEndian);

// The date of Exif DateTimeOriginal in the body of an APP1 segment ("Exif\0\0" and the TIFF
// structure); DateTime is left alone because editors rewrite it.
QDate exifDateTaken(const QByteArray& app1);

// The APP1 bodies a photo's metadata readers look at, each without its identifier.
struct Metadata {
    bool jpeg = false;             // the file opens and starts like a JPEG
    QDate taken;                   // Exif DateTimeOriginal of the first Exif segment
    QByteArray xmp;                // the standard XMP packet; empty when there is none
    QList<QByteArray> extendedXmp; // extended-XMP bodies: GUID, full length, offset, data
    bool truncated = false;        // the headers ran past the limits below
};

// Headers larger than this are not a camera's: reading stops there.
inline constexpr qint64 MaxHeaderBytes = 16 * 1024 * 1024;
inline constexpr int MaxSegments = 4096;

// Walks the segments up to the start of the coded data (or the frame's end).
Metadata read(const QString& path);

// A start-of-frame marker, whose segment gives the picture's size.
inline bool isFrameHeader(quint8 marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// One marker segment of a JPEG's headers: its marker and where its body lies.
struct Segment {
    quint8 marker = 0;
    qint64 start = 0;     // the marker's first byte
    qint64 bodyStart = 0; // after the two length bytes
    qint64 bodyLength = 0;
};
enum class WalkEnd { Stopped, CodedData, Broken, Limit };
// The bytes of the file at pos, fewer at its end.
using ReadAt = std::function<QByteArray(qint64 pos, qint64 n)>;
// Walks the segments after the start-of-image marker while `visit` answers true, up to the start
// of the coded data, a segment that cannot be read, or maxSegments / MaxHeaderBytes; the one walk
// every reader of JPEG headers uses, so they agree on what a header is.
WalkEnd walk(const ReadAt& read, const std::function<bool(const Segment&)>& visit,
             int maxSegments = MaxSegments);

} // namespace JpegSegments
