#pragma once

#include <QString>

class QImageReader;

// A ceiling on the pictures the program decodes, so that a photo whose header claims an
// absurd size is refused instead of exhausting memory.
namespace PictureLimit {

// Well above the largest camera sensors and stitched site panoramas.
inline constexpr qint64 MaxPixels = 150'000'000;

// The reason given when a picture is refused, for messages that name the file.
extern const QString TooLarge; // "画素数が多すぎるため読み込みません"

// True when the reader's picture may be decoded: its header gives a size within MaxPixels, or
// no size, in which case the decoders' own allocation ceiling (set here to match) stops it.
bool allows(QImageReader& reader);

} // namespace PictureLimit
