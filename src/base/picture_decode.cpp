#include "base/picture_decode.h"

#include "base/photo_file.h"
#include "base/picture_limit.h"

#include <QImageReader>

namespace PictureDecode {

Result fitted(const QString& path, QSize box) {
    // Photos named on Windows may differ from their files in letter case only.
    QImageReader reader(PhotoFile::resolve(path));
    reader.setAutoTransform(true);
    if (!PictureLimit::allows(reader)) return {{}, true};
    const QSize stored = reader.size();
    if (stored.isValid() && !box.isEmpty()) {
        // The orientation is applied after decoding, so fit the stored picture into a box
        // turned the same way; a square box fits either way.
        const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
        const QSize target = stored.scaled(turned ? box.transposed() : box, Qt::KeepAspectRatio);
        // Set before reading, so that the JPEG decoder can scale while it decodes.
        if (target.width() < stored.width() && target.height() < stored.height())
            reader.setScaledSize(target.expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull() || box.isEmpty() || (image.width() <= box.width() && image.height() <= box.height()))
        return {image, false};
    return {image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation), false};
}

} // namespace PictureDecode
