#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// Made-up photos for the viewer tests.
// Left half `left`, right half `right`: shows which way a picture was turned.
QImage twoColourImage(QSize size, QColor left, QColor right);
// A JPEG file; an EXIF orientation (1..8) other than 0 is written as an APP1 segment.
void writeJpeg(const QString& path, const QImage& image, int exifOrientation = 0);
// An APP1 segment (marker included) of Exif data in either byte order: IFD0 holds the
// orientation, IFD1 points at `preview` as a camera's thumbnail does (none when empty).
QByteArray exifSegment(const QByteArray& preview, int orientation, bool littleEndian);
// A JPEG file of `image` carrying `segment` right after its start-of-image marker.
void writeJpegWithSegment(const QString& path, const QImage& image, const QByteArray& segment);
// The JPEG bytes of `image`.
QByteArray jpegBytes(const QImage& image);
// A small real JPEG whose frame header claims another size.
QByteArray jpegClaiming(quint16 width, quint16 height);
// Sets the file's modification time `seconds` later than it is, so a rewrite is seen as one.
void touchLater(const QString& path, int seconds);
// Colours equal within JPEG rounding.
bool isNear(QColor actual, QColor expected);
