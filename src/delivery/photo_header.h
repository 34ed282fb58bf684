#pragma once

#include <QByteArray>
#include <QDate>
#include <QSize>
#include <QString>

// What the delivery needs to know of a photo, read from its headers without decoding it.
struct PhotoHeader {
    bool readable = false; // the file exists and could be opened
    bool jpeg = false;     // a JPEG with a frame header
    QSize size;            // pixels, from the frame header
    QDate taken;           // Exif DateTimeOriginal; null when there is none or it is no date
};

namespace PhotoHeaders {

// Walks the segments up to the frame header, skipping over each one's data.
PhotoHeader read(const QString& path);

// The date of Exif DateTimeOriginal in the body of an APP1 segment ("Exif\0\0" and the TIFF
// structure); DateTime is left alone because editors rewrite it.
QDate exifDateTaken(const QByteArray& app1);

} // namespace PhotoHeaders
