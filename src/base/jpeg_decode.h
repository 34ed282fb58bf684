#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// JPEG photos decoded with libjpeg at the smallest scale that covers the size they are wanted
// at, among the scales whose transforms run on the processor's vector units (1/8, 1/4, 1/2, 1).
// Qt's reader also scales while decoding but picks any eighth (3/8 for a 4000-pixel photo
// printed 1300 pixels wide), and those transforms take longer than decoding the larger 1/2 and
// scaling it down.
namespace JpegDecode {

// The stored picture, not turned by its EXIF orientation, at least `atLeast` in both
// directions (or whole when it is smaller). Nothing when the file is not a JPEG this decoder
// turns into RGB or grey (CMYK, twelve-bit, damaged headers): the caller reads it the usual way.
std::optional<QImage> covering(const QString& path, QSize atLeast);

} // namespace JpegDecode
