#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QString>

#include <optional>

// The thumbnail cache the desktop's file managers share: PNG files under <root>/normal
// (at most 128 px) and <root>/large (at most 256 px), named by the MD5 of the photo's
// file:// URI and carrying the URI and modification time they were made from.
class SharedThumbnailCache {
public:
    enum class Flavour { Normal, Large };

    static int edgeOf(Flavour flavour) { return flavour == Flavour::Normal ? 128 : 256; }
    // The smallest flavour whose pictures fill a square of this edge; none above 256.
    static std::optional<Flavour> flavourFor(int edge);

    // $XDG_CACHE_HOME/thumbnails, else ~/.cache/thumbnails.
    static QString defaultRoot();
    explicit SharedThumbnailCache(QString root = defaultRoot());
    const QString& root() const { return root_; }

    static QByteArray uriOf(const QString& absolutePath);
    QString entryPath(const QString& absolutePath, Flavour flavour) const;

    // The stored thumbnail when it was made from the photo as it is now; null otherwise.
    QImage read(const QFileInfo& photo, Flavour flavour) const;
    // False when the entry could not be written: the cache only saves time, it never stops
    // a run.
    bool write(const QFileInfo& photo, Flavour flavour, const QImage& thumbnail) const;

private:
    QString root_;
};
