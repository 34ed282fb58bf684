#include "viewer/thumbnailer.h"

#include "base/photo_file.h"
#include "base/picture_decode.h"

#include <QDateTime>
#include <QFileInfo>
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
    return PictureDecode::fitted(path, box).image;
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
        const PictureDecode::Result decoded = PictureDecode::fitted(photo.absoluteFilePath(), box);
        result = {decoded.image,
                  decoded.image.isNull() ? Thumbnail::Source::Undecodable : Thumbnail::Source::Decoded, false,
                  decoded.tooLarge};
    }
    if (!result.image.isNull()) {
        QMutexLocker lock(&memoryLock_);
        memory_.insert(key, new QImage(result.image), costOf(result.image));
    }
    return result;
}

Thumbnail Thumbnailer::preview(const QString& path, QSize box) {
    const QFileInfo photo(PhotoFile::resolve(path));
    if (path.isEmpty() || !photo.isFile()) return {{}, Thumbnail::Source::Missing};
    {
        QMutexLocker lock(&memoryLock_);
        if (memory_.contains(memoryKey(photo, box))) return {{}, Thumbnail::Source::Preview};
    }
    return {PictureDecode::exifPreview(photo.absoluteFilePath(), box), Thumbnail::Source::Preview};
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
    const PictureDecode::Result decoded =
        PictureDecode::fitted(photo.absoluteFilePath(), QSize(largeEdge, largeEdge));
    if (decoded.image.isNull()) return {{}, Thumbnail::Source::Undecodable, false, decoded.tooLarge};
    large = decoded.image;
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
    bool tooLarge = false;
    if (!largeCurrent) {
        const PictureDecode::Result decoded =
            PictureDecode::fitted(photo.absoluteFilePath(), QSize(largeEdge, largeEdge));
        large = decoded.image;
        tooLarge = decoded.tooLarge;
    }
    if (large.isNull()) return {{}, Thumbnail::Source::Undecodable, false, tooLarge};
    bool written = largeCurrent || shared_.write(photo, Flavour::Large, large);
    if (!normalCurrent)
        written =
            shared_.write(photo, Flavour::Normal, fitInto(large, QSize(normalEdge, normalEdge))) && written;
    return {large, largeCurrent ? Thumbnail::Source::SharedCache : Thumbnail::Source::Decoded, !written};
}
