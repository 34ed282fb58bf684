#pragma once

#include "viewer/shared_thumbnail_cache.h"

#include <QCache>
#include <QFileInfo>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QMutex>
#include <QSize>
#include <QString>

#include <utility>

// A photo's small picture and where it came from.
struct Thumbnail {
    // Preview: the camera's small Exif preview, shown until the real picture is made.
    enum class Source { Memory, SharedCache, Decoded, Preview, Missing, Undecodable };

    QImage image; // null for a missing or undecodable photo
    Source source = Source::Missing;
    bool shareFailed = false; // the shared cache could not take the picture (refreshShared)
    bool tooLarge = false;    // undecodable because it is over the picture limit

    bool leftOut() const { return source == Source::Missing || source == Source::Undecodable; }
};
Q_DECLARE_METATYPE(Thumbnail)

// Shared-cache entries of a photo just decoded, written once its picture is delivered: the
// PNG encoding and the disk then cost no one a wait.
struct PendingShare {
    QFileInfo photo;
    QList<std::pair<SharedThumbnailCache::Flavour, QImage>> entries;
};

// Photo path -> small picture: decoded at reduced size with the EXIF orientation applied,
// kept in memory by path, box and file time, and shared with the desktop through its
// thumbnail cache. Safe to call from several threads at once.
class Thumbnailer {
public:
    static constexpr qint64 DefaultMemoryBytes = 64 * 1024 * 1024;

    explicit Thumbnailer(SharedThumbnailCache shared = SharedThumbnailCache(),
                         qint64 memoryBytes = DefaultMemoryBytes);

    // A picture that fits in `box`, never larger than the photo itself. Paths that do not
    // exist here (an album made on Windows) give a null picture, never an error.
    Thumbnail make(const QString& path, QSize box);
    // The same, leaving the shared-cache entries still to write in `pending` for share().
    Thumbnail make(const QString& path, QSize box, PendingShare& pending);
    // False when an entry could not be written.
    bool share(const PendingShare& pending) const;

    // The photo's Exif preview fitted into `box`, to show while the real picture is made; null
    // when it has none or the real picture is already kept in memory. Never kept or shared:
    // the caches hold real thumbnails only.
    Thumbnail preview(const QString& path, QSize box);

    // Brings the shared cache's normal and large entries up to date with the photo, decoding
    // it at most once. The picture returned is the large one.
    Thumbnail refreshShared(const QString& path);

    // The photo decoded straight to a size that fits in `box`; null when it cannot be read.
    static QImage decode(const QString& path, QSize box);
    // `image` made to fit in `box`, keeping its proportions; smaller images are kept as they are.
    static QImage fitInto(const QImage& image, QSize box);

    const SharedThumbnailCache& shared() const { return shared_; }

private:
    Thumbnail sharedOrDecoded(const QFileInfo& photo, QSize box, PendingShare& pending);

    SharedThumbnailCache shared_;
    QMutex memoryLock_;
    QCache<QString, QImage> memory_;
};
