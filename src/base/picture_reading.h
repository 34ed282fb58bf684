#pragma once

#include <QImageReader>
#include <QString>

// How the program words a photo it cannot read, the same for every reader of photos
// (thumbnails, album pages, workbooks, the delivery), and what it does with the image
// decoders' own chatter.
namespace PictureReading {

extern const QString CannotRead; // "画像を読めません。"

// Why the photo at path cannot be read: the file first (missing, a folder, empty, not
// readable), then what the reader met (too many pixels, not a picture, damaged data).
QString reason(const QString& path, QImageReader::ImageReaderError error);
// The same when no reader's verdict is at hand: the header is looked at again.
QString reason(const QString& path);

// "画像を読めません。", the file and the reason, one a line.
QString failure(const QString& path, const QString& reason);

// The decoders' warnings (libpng, libjpeg: "Corrupt JPEG data", "iCCP: known incorrect sRGB
// profile") are kept off the terminal: what matters reaches the user as a reason above.
void silenceDecoderWarnings();

} // namespace PictureReading
