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

// Exif orientations 1..8 as the turns Qt's reader applies for them.
QImageIOHandler::Transformations transformationOf(int orientation) {
    using T = QImageIOHandler;
    static const T::Transformation byOrientation[] = {T::TransformationNone,
                                                      T::TransformationMirror,
                                                      T::TransformationRotate180,
                                                      T::TransformationFlip,
                                                      T::TransformationFlipAndRotate90,
                                                      T::TransformationRotate90,
                                                      T::TransformationMirrorAndRotate90,
                                                      T::TransformationRotate270};
    return orientation >= 1 && orientation <= 8 ? byOrientation[orientation - 1] : T::TransformationNone;
}

// Turns a picture as the reader's automatic transformation would: mirrored, then a quarter turn.
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
    const QImage upright = transformedAs(image, transformationOf(preview.orientation));
    if (box.isEmpty() || (upright.width() <= box.width() && upright.height() <= box.height())) return upright;
    return upright.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace PictureDecode
