#include "viewer/thumbnailer.h"

#include "app/photo_file.h"
#include "app/picture_limit.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QMutexLocker>

using namespace Qt::StringLiterals;

using Flavour = SharedThumbnailCache::Flavour;

namespace {

QString memoryKey(const QFileInfo& photo, QSize box) {
    return photo.absoluteFilePath() + u'\n' + QString::number(box.width()) + u'x' +
           QString::number(box.height()) + u'\n' + QString::number(photo.lastModified().toMSecsSinceEpoch()) +
           u'\n' + QString::number(photo.size());
}

qint64 costOf(const QImage& image) {
    return std::max<qint64>(image.sizeInBytes(), 1);
}

} // namespace

Thumbnailer::Thumbnailer(SharedThumbnailCache shared, qint64 memoryBytes)
    : shared_(std::move(shared)), memory_(memoryBytes) {}

QImage Thumbnailer::fitInto(const QImage& image, QSize box) {
    if (image.isNull() || box.isEmpty()) return image;
    if (image.width() <= box.width() && image.height() <= box.height()) return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage Thumbnailer::decode(const QString& path, QSize box) {
    QImageReader reader(PhotoFile::resolve(path));
    reader.setAutoTransform(true);
    if (!PictureLimit::allows(reader)) return {};
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
    if (image.isNull()) return {};
    return fitInto(image, box);
}

Thumbnail Thumbnailer::make(const QString& path, QSize box) {
    PendingShare pending;
    Thumbnail result = make(path, box, pending);
    share(pending);
    return result;
}

Thumbnail Thumbnailer::make(const QString& path, QSize box, PendingShare& pending) {
    pending = {};
    const QFileInfo photo(PhotoFile::resolve(path));
    if (path.isEmpty() || !photo.isFile()) return {{}, Thumbnail::Source::Missing};

    const QString key = memoryKey(photo, box);
    {
        QMutexLocker lock(&memoryLock_);
        if (const QImage* kept = memory_.object(key)) return {*kept, Thumbnail::Source::Memory};
    }

    Thumbnail result;
    if (SharedThumbnailCache::flavourFor(std::max(box.width(), box.height()))) {
        result = sharedOrDecoded(photo, box, pending);
    } else {
        result.image = decode(photo.absoluteFilePath(), box);
        result.source = result.image.isNull() ? Thumbnail::Source::Undecodable : Thumbnail::Source::Decoded;
    }
    if (!result.image.isNull()) {
        QMutexLocker lock(&memoryLock_);
        memory_.insert(key, new QImage(result.image), costOf(result.image));
    }
    return result;
}

bool Thumbnailer::share(const PendingShare& pending) const {
    bool written = true;
    for (const auto& [flavour, image] : pending.entries)
        written = shared_.write(pending.photo, flavour, image) && written;
    return written;
}

// Both entries come from one decode at the large size: the decoder's coarsest step already
// gives a camera photo enough pixels for either, so the normal one costs no second decode.
Thumbnail Thumbnailer::sharedOrDecoded(const QFileInfo& photo, QSize box, PendingShare& pending) {
    const int normalEdge = SharedThumbnailCache::edgeOf(Flavour::Normal);
    const int largeEdge = SharedThumbnailCache::edgeOf(Flavour::Large);
    const bool normalServes = std::max(box.width(), box.height()) <= normalEdge;
    if (normalServes) {
        const QImage normal = shared_.read(photo, Flavour::Normal);
        if (!normal.isNull()) return {fitInto(normal, box), Thumbnail::Source::SharedCache};
    }
    QImage large = shared_.read(photo, Flavour::Large);
    if (!large.isNull()) {
        if (normalServes)
            pending = {photo, {{Flavour::Normal, fitInto(large, QSize(normalEdge, normalEdge))}}};
        return {fitInto(large, box), Thumbnail::Source::SharedCache};
    }
    large = decode(photo.absoluteFilePath(), QSize(largeEdge, largeEdge));
    if (large.isNull()) return {{}, Thumbnail::Source::Undecodable};
    pending = {photo,
               {{Flavour::Large, large}, {Flavour::Normal, fitInto(large, QSize(normalEdge, normalEdge))}}};
    return {fitInto(large, box), Thumbnail::Source::Decoded};
}

Thumbnail Thumbnailer::refreshShared(const QString& path) {
    const QFileInfo photo(PhotoFile::resolve(path));
    if (path.isEmpty() || !photo.isFile()) return {{}, Thumbnail::Source::Missing};

    QImage large = shared_.read(photo, Flavour::Large);
    const bool normalCurrent = !shared_.read(photo, Flavour::Normal).isNull();
    if (!large.isNull() && normalCurrent) return {large, Thumbnail::Source::SharedCache};

    const int largeEdge = SharedThumbnailCache::edgeOf(Flavour::Large);
    const int normalEdge = SharedThumbnailCache::edgeOf(Flavour::Normal);
    const bool largeCurrent = !large.isNull();
    if (!largeCurrent) large = decode(photo.absoluteFilePath(), QSize(largeEdge, largeEdge));
    if (large.isNull()) return {{}, Thumbnail::Source::Undecodable};
    bool written = largeCurrent || shared_.write(photo, Flavour::Large, large);
    if (!normalCurrent)
        written =
            shared_.write(photo, Flavour::Normal, fitInto(large, QSize(normalEdge, normalEdge))) && written;
    return {large, largeCurrent ? Thumbnail::Source::SharedCache : Thumbnail::Source::Decoded, !written};
}
