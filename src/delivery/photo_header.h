#pragma once

#include <QDate>
#include <QSize>
#include <QString>

// What the delivery needs to know of a photo, read from its headers without decoding it.
struct PhotoHeader {
    enum class Format { Unknown, Jpeg, Tiff, Png, Bmp, Gif, Svg };
    bool readable = false;           // the file exists and could be opened
    Format format = Format::Unknown; // what the first bytes say, whatever the name
    bool jpeg = false;               // a JPEG with a frame header
    bool complete = false;           // a JPEG whose data reaches its end marker: not cut short
    QSize size;                      // pixels, from the frame header
    QDate taken;                     // Exif DateTimeOriginal; null when there is none or it is no date
};

namespace PhotoHeaders {

// Walks the segments up to the frame header, skipping over each one's data, and makes sure the
// picture data ends: at once when the file ends with the end marker, else by following the
// segments and the coded data to it.
PhotoHeader read(const QString& path);

// "JPEG", "PNG", ...; empty for Unknown.
QString formatName(PhotoHeader::Format format);

// The format a delivery file name promises by its extension (.JPG, .TIF, .SVG), in any case;
// Unknown for any other.
PhotoHeader::Format formatOfName(const QString& name);

} // namespace PhotoHeaders
