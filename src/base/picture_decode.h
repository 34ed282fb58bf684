#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QImageReader;

// Photos decoded straight to the size they are shown at, turned upright by their EXIF
// orientation.
namespace PictureDecode {

struct Result {
    QImage image;          // null when the picture could not be read
    bool tooLarge = false; // refused by PictureLimit: its header claims too many pixels
};

// The picture fitted into box, keeping its proportions and never enlarged; an empty box gives
// the picture at its own size. The JPEG decoder scales while it decodes, so a small box costs
// a fraction of a full decode.
Result fitted(const QString& path, QSize box);

// The reader's picture at `size` exactly (as stored, before its EXIF turn), turned upright when
// the reader is set to turn it. JPEG files are decoded at a fast scale covering `size` and
// scaled down smoothly; other pictures, and JPEGs libjpeg alone cannot read, go through the
// reader. An empty size, or one larger than the picture in either direction, reads it whole.
QImage readScaled(QImageReader& reader, QSize size);

// The small preview a camera keeps in the photo's Exif data, turned by the photo's orientation
// and fitted into box; null when there is none or it cannot be read. Costs a read of the Exif
// segment and the decode of a picture of about 160x120, a fraction of even a scaled decode.
QImage exifPreview(const QString& path, QSize box);

} // namespace PictureDecode
