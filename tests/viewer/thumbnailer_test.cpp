#include "support/photo_files.h"
#include "support/test_files.h"
#include "viewer/thumbnail_run.h"
#include "viewer/thumbnailer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QImageReader>
#include <QMutex>
#include <QTemporaryDir>
#include <QUrl>

#include <atomic>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Source = Thumbnail::Source;
using Flavour = SharedThumbnailCache::Flavour;

namespace {

class ThumbnailerTest : public testing::Test {
protected:
    QString photo(const QString& name) const { return dir.filePath(name); }
    QString cacheRoot() const { return dir.filePath(u"cache/thumbnails"_s); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ThumbnailerTest, DecodesSmallAndTurnsByTheExifOrientation) {
    const QString upright = photo(u"upright.jpg"_s);
    const QString turned = photo(u"turned.jpg"_s);
    const QImage image = twoColourImage({800, 400}, Qt::red, Qt::blue);
    writeJpeg(upright, image);
    writeJpeg(turned, image, 6); // shown turned a quarter clockwise

    const QImage plain = Thumbnailer::decode(upright, {128, 128});
    EXPECT_EQ(plain.size(), QSize(128, 64));

    const QImage portrait = Thumbnailer::decode(turned, {128, 128});
    ASSERT_EQ(portrait.size(), QSize(64, 128));
    EXPECT_TRUE(isNear(portrait.pixelColor(32, 20), Qt::red)) << "the left edge comes to the top";
    EXPECT_TRUE(isNear(portrait.pixelColor(32, 108), Qt::blue));

    // A box that is not square is filled the way the picture is shown, not as stored.
    EXPECT_EQ(Thumbnailer::decode(turned, {100, 50}).size(), QSize(25, 50));
    // Never enlarged.
    writeJpeg(photo(u"small.jpg"_s), twoColourImage({40, 30}, Qt::red, Qt::blue));
    EXPECT_EQ(Thumbnailer::decode(photo(u"small.jpg"_s), {128, 128}).size(), QSize(40, 30));
}

TEST_F(ThumbnailerTest, PhotosThatCannotBeShownGiveAnEmptyPicture) {
    Thumbnailer thumbnailer{SharedThumbnailCache(cacheRoot())};
    writeBytes(photo(u"broken.jpg"_s), "not a picture at all");
    QDir(dir.path()).mkdir(u"folder.jpg"_s);

    for (const QString& path :
         {u""_s, u"C:\\photos\\P001.JPG"_s, photo(u"absent.jpg"_s), photo(u"folder.jpg"_s)}) {
        const Thumbnail thumbnail = thumbnailer.make(path, {128, 128});
        EXPECT_TRUE(thumbnail.image.isNull()) << path.toStdString();
        EXPECT_EQ(thumbnail.source, Source::Missing) << path.toStdString();
    }
    const Thumbnail broken = thumbnailer.make(photo(u"broken.jpg"_s), {128, 128});
    EXPECT_TRUE(broken.image.isNull());
    EXPECT_EQ(broken.source, Source::Undecodable);
    EXPECT_TRUE(broken.leftOut());
    EXPECT_FALSE(QFileInfo::exists(cacheRoot() + u"/normal"_s)) << "nothing cached for a failure";
}

TEST_F(ThumbnailerTest, SharesThumbnailsWithTheDesktopCache) {
    const QString path = photo(u"写真 1.jpg"_s);
    writeJpeg(path, twoColourImage({1600, 1200}, Qt::red, Qt::blue));
    const SharedThumbnailCache cache(cacheRoot());

    const Thumbnail first = Thumbnailer(cache).make(path, {110, 80});
    EXPECT_EQ(first.source, Source::Decoded);
    EXPECT_EQ(first.image.size(), QSize(106, 80));

    // The normal entry is named by the MD5 of the file URI and says what it was made from.
    const QByteArray uri = SharedThumbnailCache::uriOf(path);
    EXPECT_EQ(QUrl::fromEncoded(uri).toLocalFile(), path);
    EXPECT_TRUE(uri.startsWith("file:///"));
    EXPECT_TRUE(uri.contains("%20")) << uri.constData();
    const QString entry = cache.entryPath(path, Flavour::Normal);
    EXPECT_EQ(QFileInfo(entry).fileName(),
              QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
                  u".png"_s);
    const QImage stored(entry);
    EXPECT_EQ(stored.text(u"Thumb::URI"_s).toLatin1(), uri);
    EXPECT_EQ(stored.text(u"Thumb::MTime"_s),
              QString::number(QFileInfo(path).lastModified().toSecsSinceEpoch()));
    EXPECT_EQ(stored.size(), QSize(128, 96));
    EXPECT_EQ(QFileInfo(entry).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());

    // A new run of the program finds it; the same run keeps it in memory.
    Thumbnailer later(cache);
    EXPECT_EQ(later.make(path, {110, 80}).source, Source::SharedCache);
    EXPECT_EQ(later.make(path, {110, 80}).source, Source::Memory);
    // A different cell size needs a different picture, the shared entry still serves it.
    EXPECT_EQ(later.make(path, {64, 64}).image.size(), QSize(64, 48));
    // The first decode made the large entry too, for a large box.
    const Thumbnail large = later.make(path, {256, 256});
    EXPECT_EQ(large.source, Source::SharedCache);
    EXPECT_EQ(large.image.size(), QSize(256, 192));
}

TEST_F(ThumbnailerTest, ACurrentLargeEntryServesASmallBoxAndRenewsTheNormalOne) {
    const QString path = photo(u"p.jpg"_s);
    writeJpeg(path, twoColourImage({1600, 1200}, Qt::red, Qt::blue));
    const SharedThumbnailCache cache(cacheRoot());
    Thumbnailer(cache).make(path, {256, 256});
    QFile::remove(cache.entryPath(path, Flavour::Normal));

    const Thumbnail small = Thumbnailer(cache).make(path, {100, 100});
    EXPECT_EQ(small.source, Source::SharedCache) << "no second decode";
    EXPECT_EQ(small.image.size(), QSize(100, 75));
    EXPECT_EQ(QImageReader(cache.entryPath(path, Flavour::Normal)).size(), QSize(128, 96));
}

TEST_F(ThumbnailerTest, AChangedPhotoGetsANewThumbnail) {
    const QString path = photo(u"p.jpg"_s);
    writeJpeg(path, twoColourImage({800, 600}, Qt::red, Qt::red));
    const SharedThumbnailCache cache(cacheRoot());
    Thumbnailer thumbnailer(cache);
    EXPECT_TRUE(isNear(thumbnailer.make(path, {128, 128}).image.pixelColor(64, 48), Qt::red));

    writeJpeg(path, twoColourImage({600, 800}, Qt::green, Qt::green));
    touchLater(path, 5);
    const Thumbnail changed = thumbnailer.make(path, {128, 128});
    EXPECT_EQ(changed.source, Source::Decoded) << "neither the memory nor the desktop entry is stale-served";
    EXPECT_EQ(changed.image.size(), QSize(96, 128));
    EXPECT_TRUE(isNear(changed.image.pixelColor(48, 64), Qt::green));
    EXPECT_EQ(Thumbnailer(cache).make(path, {128, 128}).source, Source::SharedCache);

    // Rewritten within the same second: the recorded file size still tells.
    const QDateTime time = QFileInfo(path).lastModified();
    writeJpeg(path, twoColourImage({800, 600}, Qt::blue, Qt::yellow));
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(time, QFileDevice::FileModificationTime);
    file.close();
    EXPECT_EQ(Thumbnailer(cache).make(path, {128, 128}).source, Source::Decoded);
}

TEST_F(ThumbnailerTest, AnUnwritableCacheOnlyCostsTime) {
    writeBytes(photo(u"file"_s), "a file where the cache folder should be");
    const QString path = photo(u"p.jpg"_s);
    writeJpeg(path, twoColourImage({800, 600}, Qt::red, Qt::blue));
    Thumbnailer thumbnailer{SharedThumbnailCache(photo(u"file"_s))};
    const Thumbnail thumbnail = thumbnailer.make(path, {128, 128});
    EXPECT_EQ(thumbnail.source, Source::Decoded);
    EXPECT_EQ(thumbnail.image.size(), QSize(128, 96));
}

// A camera photo: red and blue, with a green Exif preview that tells the two apart.
TEST_F(ThumbnailerTest, ExifPreviewsAreShownButNeverKeptOrShared) {
    const QString path = photo(u"camera.jpg"_s);
    writeJpegWithSegment(path, twoColourImage({1600, 1200}, Qt::red, Qt::blue),
                         exifSegment(jpegBytes(twoColourImage({160, 120}, Qt::green, Qt::green)), 1, true));
    const QString plain = photo(u"plain.jpg"_s);
    writeJpeg(plain, twoColourImage({1600, 1200}, Qt::red, Qt::blue));
    const SharedThumbnailCache cache(cacheRoot());
    Thumbnailer thumbnailer(cache);

    const Thumbnail preview = thumbnailer.preview(path, {110, 80});
    EXPECT_EQ(preview.source, Source::Preview);
    EXPECT_EQ(preview.image.size(), QSize(106, 80));
    EXPECT_TRUE(isNear(preview.image.pixelColor(10, 40), Qt::green));
    EXPECT_TRUE(thumbnailer.preview(plain, {110, 80}).image.isNull()) << "no preview, nothing to show";
    EXPECT_FALSE(QFileInfo::exists(cacheRoot())) << "a preview is never written to the desktop cache";

    const Thumbnail real = thumbnailer.make(path, {110, 80});
    EXPECT_EQ(real.source, Source::Decoded) << "nor kept in memory as the photo's thumbnail";
    EXPECT_TRUE(isNear(real.image.pixelColor(10, 40), Qt::red));
    for (const Flavour flavour : {Flavour::Normal, Flavour::Large}) {
        const QImage entry(cache.entryPath(path, flavour));
        ASSERT_FALSE(entry.isNull());
        EXPECT_TRUE(isNear(entry.pixelColor(4, entry.height() / 2), Qt::red));
    }
    EXPECT_TRUE(thumbnailer.preview(path, {110, 80}).image.isNull()) << "the real one is already there";
}

TEST_F(ThumbnailerTest, RefreshWritesBothSizesFromOneDecode) {
    const QString path = photo(u"p.jpg"_s);
    writeJpeg(path, twoColourImage({1200, 900}, Qt::red, Qt::blue));
    const SharedThumbnailCache cache(cacheRoot());
    Thumbnailer thumbnailer(cache);
    EXPECT_EQ(thumbnailer.refreshShared(path).source, Source::Decoded);
    EXPECT_EQ(QImageReader(cache.entryPath(path, Flavour::Normal)).size(), QSize(128, 96));
    EXPECT_EQ(QImageReader(cache.entryPath(path, Flavour::Large)).size(), QSize(256, 192));
    EXPECT_EQ(thumbnailer.refreshShared(path).source, Source::SharedCache);
    QFile::remove(cache.entryPath(path, Flavour::Normal));
    EXPECT_EQ(thumbnailer.refreshShared(path).source, Source::SharedCache)
        << "the large one is still current";
    EXPECT_TRUE(QFileInfo::exists(cache.entryPath(path, Flavour::Normal)));
}

TEST_F(ThumbnailerTest, ARunReportsEveryPhotoAndAFailureDoesNotStopIt) {
    QStringList paths;
    for (int i = 0; i < 12; ++i) {
        paths << photo(u"p%1.jpg"_s.arg(i));
        if (i == 3)
            writeBytes(paths.last(), "broken");
        else
            writeJpeg(paths.last(), twoColourImage({640, 480}, Qt::red, Qt::blue));
    }
    Thumbnailer thumbnailer{SharedThumbnailCache(cacheRoot())};
    ThumbnailRun run(thumbnailer, paths, QSize(100, 100), 2);
    QList<int> reported;
    QMutex lock;
    QObject::connect(
        &run, &ThumbnailRun::ready, &run,
        [&](int index, const Thumbnail& thumbnail) {
            QMutexLocker locked(&lock);
            reported << index;
            EXPECT_EQ(thumbnail.image.isNull(), index == 3);
        },
        Qt::DirectConnection);
    run.start();
    run.waitForDone();
    std::sort(reported.begin(), reported.end());
    ASSERT_EQ(reported.size(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(reported.at(i), i);

    // Each picture is reported before its shared-cache entries are written.
    Thumbnailer fresh{SharedThumbnailCache(dir.filePath(u"fresh"_s))};
    ThumbnailRun delivering(fresh, paths, QSize(100, 100), 2);
    std::atomic<int> cachedWhenReported = 0;
    QObject::connect(
        &delivering, &ThumbnailRun::ready, &delivering,
        [&](int index, const Thumbnail&) {
            if (QFileInfo::exists(fresh.shared().entryPath(paths.at(index), Flavour::Normal)))
                ++cachedWhenReported;
        },
        Qt::DirectConnection);
    delivering.start();
    delivering.waitForDone();
    EXPECT_EQ(cachedWhenReported, 0);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(QFileInfo::exists(fresh.shared().entryPath(paths.at(i), Flavour::Large)), i != 3);

    // Previews only for the photos asked for that carry one; one thread, so that no real
    // picture is made before them.
    const QByteArray exif =
        exifSegment(jpegBytes(twoColourImage({160, 120}, Qt::green, Qt::green)), 1, false);
    for (int i : {0, 1, 5})
        writeJpegWithSegment(paths.at(i), twoColourImage({640, 480}, Qt::red, Qt::blue), exif);
    Thumbnailer other{SharedThumbnailCache(dir.filePath(u"other"_s))};
    ThumbnailRun previewing(other, paths, QSize(100, 100), 1);
    previewing.showPreviewsFirst({0, 2, 3, 5, 40}, QSize(100, 100));
    QList<int> previewed;
    QObject::connect(
        &previewing, &ThumbnailRun::previewReady, &previewing,
        [&](int index, const Thumbnail&) {
            QMutexLocker locked(&lock);
            previewed << index;
        },
        Qt::DirectConnection);
    previewing.start();
    previewing.waitForDone();
    std::sort(previewed.begin(), previewed.end());
    EXPECT_EQ(previewed, QList<int>({0, 5}));

    const std::atomic_bool stop = true;
    ThumbnailRun cancelled(thumbnailer, paths, QSize(100, 100), 2);
    int after = 0;
    QObject::connect(
        &cancelled, &ThumbnailRun::ready, &cancelled, [&] { ++after; }, Qt::DirectConnection);
    cancelled.stopOn(Progress({}, &stop));
    cancelled.start();
    cancelled.waitForDone();
    EXPECT_EQ(after, 0);
}
