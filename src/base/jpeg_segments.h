#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

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

} // namespace JpegSegments
