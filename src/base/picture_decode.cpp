#include "base/picture_decode.h"

#include "base/exif_data.h"
#include "base/jpeg_decode.h"
#include "base/photo_file.h"
#include "base/picture_limit.h"

#include <QBuffer>
#include <QImageReader>
#include <QTransform>

namespace PictureDecode {

namespace {

// Previews are about 160x120; a larger claim in a segment of at most 64 KB is damage.
constexpr int MaxPreviewEdge = 1024;

// Exif orientations 2..8 as the mirroring and quarter turns that show the picture upright.
QImage turnedUpright(const QImage& image, int orientation) {
    const bool mirror = orientation == 2 || orientation == 5 || orientation == 7;
    const bool flip = orientation == 4;
    int degrees = 0;
    if (orientation == 3) degrees = 180;
    if (orientation == 5 || orientation == 8) degrees = 270;
    if (orientation == 6 || orientation == 7) degrees = 90;
    QImage upright = mirror || flip ? image.mirrored(mirror, flip) : image;
    return degrees == 0 ? upright : upright.transformed(QTransform().rotate(degrees));
}

// Turns a picture as the reader's automatic transformation would.
QImage transformedAs(const QImage& image, QImageIOHandler::Transformations how) {
    if (how == QImageIOHandler::TransformationRotate270) return image.transformed(QTransform().rotate(270));
    const QImage mirrored =
        how & (QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip)
            ? image.mirrored(how & QImageIOHandler::TransformationMirror,
                             how & QImageIOHandler::TransformationFlip)
            : image;
    return how & QImageIOHandler::TransformationRotate90 ? mirrored.transformed(QTransform().rotate(90))
                                                         : mirrored;
}

} // namespace

QImage readScaled(QImageReader& reader, QSize size) {
    const QSize stored = reader.size();
    const bool smaller = !size.isEmpty() && stored.isValid() && size != stored &&
                         size.width() <= stored.width() && size.height() <= stored.height();
    if (smaller && reader.format() == "jpeg" && !reader.fileName().isEmpty()) {
        if (const std::optional<QImage> decoded = JpegDecode::covering(reader.fileName(), size)) {
            const QImage scaled = decoded->size() == size ? *decoded
                                                          : decoded->scaled(size, Qt::IgnoreAspectRatio,
                                                                            Qt::SmoothTransformation);
            return reader.autoTransform() ? transformedAs(scaled, reader.transformation()) : scaled;
        }
    }
    if (smaller) reader.setScaledSize(size);
    return reader.read();
}

Result fitted(const QString& path, QSize box) {
    // Photos named on Windows may differ from their files in letter case only.
    QImageReader reader(PhotoFile::resolve(path));
    reader.setAutoTransform(true);
    if (!PictureLimit::allows(reader)) return {{}, true};
    const QSize stored = reader.size();
    QSize target; // empty: the picture whole
    if (stored.isValid() && !box.isEmpty()) {
        // The orientation is applied after decoding, so fit the stored picture into a box
        // turned the same way; a square box fits either way.
        const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        target = stored.scaled(turned ? box.transposed() : box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    }
    // Asked of the decoder, so that it can scale while it decodes.
    QImage image = readScaled(reader, target);
    if (image.isNull() || box.isEmpty() || (image.width() <= box.width() && image.height() <= box.height()))
        return {image, false};
    return {image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation), false};
}

QImage exifPreview(const QString& path, QSize box) {
    const ExifData::Preview preview = ExifData::previewOf(ExifData::app1Of(PhotoFile::resolve(path)));
    if (preview.jpeg.isEmpty()) return {};
    QBuffer buffer;
    buffer.setData(preview.jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.width() > MaxPreviewEdge || stored.height() > MaxPreviewEdge) return {};
    const QImage image = reader.read();
    if (image.isNull()) return {};
    const QImage upright = turnedUpright(image, preview.orientation);
    if (box.isEmpty() || (upright.width() <= box.width() && upright.height() <= box.height())) return upright;
    return upright.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace PictureDecode
