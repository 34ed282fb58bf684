#include "album/album_file.h"
#include "support/batch_run.h"
#include "support/photo_files.h"
#include "support/test_files.h"
#include "viewer/shared_thumbnail_cache.h"
#include "viewer/thumbnail_batch.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;
using Flavour = SharedThumbnailCache::Flavour;

namespace {

class ThumbnailBatchTest : public testing::Test {
protected:
    void SetUp() override {
        previousCacheHome_ = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", dir.filePath(u"cache"_s).toUtf8());
    }
    void TearDown() override { qputenv("XDG_CACHE_HOME", previousCacheHome_); }

    int run(const QStringList& arguments) {
        QString out;
        return runCommand(arguments, dir.path(), out, err);
    }
    QString newPhoto(const QString& name) {
        const QString path = dir.filePath(name);
        writeJpeg(path, twoColourImage({640, 480}, Qt::red, Qt::blue));
        return path;
    }
    bool cached(const QString& photo) const {
        const SharedThumbnailCache cache(dir.filePath(u"cache/thumbnails"_s));
        return QFileInfo::exists(cache.entryPath(photo, Flavour::Normal)) &&
               QFileInfo::exists(cache.entryPath(photo, Flavour::Large));
    }

    QTemporaryDir dir;
    QString err;

private:
    QByteArray previousCacheHome_;
};

} // namespace

TEST_F(ThumbnailBatchTest, MakesTheCachedThumbnailsOfAnAlbumsPhotos) {
    const QString a = newPhoto(u"a.jpg"_s);
    const QString b = newPhoto(u"b.jpg"_s);
    QList<AlbumRow> rows(3);
    rows[0].path = a;
    rows[1].info = u"写真なし\r\n"_s;
    rows[2].path = b;
    const QString album = dir.filePath(u"album.dat"_s);
    AlbumFile::save(album, rows);

    EXPECT_EQ(run({u"thumbnails"_s, album}), 0) << err.toStdString();
    EXPECT_TRUE(cached(a));
    EXPECT_TRUE(cached(b));
    EXPECT_TRUE(err.contains(u"サムネイルを作成: 2 枚"_s)) << err.toStdString();

    EXPECT_EQ(run({u"thumbnails"_s, album}), 0);
    EXPECT_TRUE(err.contains(u"作成済み: 2 枚"_s)) << err.toStdString();
}

TEST_F(ThumbnailBatchTest, NamesThePhotosLeftOutAndGoesOn) {
    const QString good = newPhoto(u"good.jpg"_s);
    const QString broken = dir.filePath(u"broken.jpg"_s);
    writeBytes(broken, "no picture here");
    EXPECT_EQ(run({u"thumbnails"_s, broken, dir.filePath(u"absent.jpg"_s), good}), 3);
    EXPECT_TRUE(err.contains(broken + u": 画像ファイルではないか、対応していない形式です"_s))
        << err.toStdString();
    EXPECT_TRUE(err.contains(u"absent.jpg: ファイルが見つかりません"_s));
    EXPECT_TRUE(cached(good));

    EXPECT_EQ(run({u"thumbnails"_s, dir.filePath(u"missing.dat"_s)}), 1);
    EXPECT_TRUE(err.contains(u"missing.dat"_s));
    EXPECT_EQ(run({u"thumbnails"_s}), 1);
    EXPECT_TRUE(err.contains(u"tovenla2 thumbnails"_s));
}

TEST_F(ThumbnailBatchTest, ACacheThatCannotBeWrittenIsToldAndFails) {
    const QString photo = newPhoto(u"a.jpg"_s);
    writeBytes(dir.filePath(u"blocked"_s), "a file where the cache's folder would be");
    qputenv("XDG_CACHE_HOME", dir.filePath(u"blocked"_s).toUtf8());
    EXPECT_EQ(run({u"thumbnails"_s, photo}), 1);
    EXPECT_TRUE(err.contains(u"サムネイルのキャッシュに書き込めませんでした: 1 枚"_s)) << err.toStdString();
    EXPECT_TRUE(err.contains(u"保存先のパスの途中にフォルダではないものがあります。"_s)) << err.toStdString();
    EXPECT_FALSE(err.contains(u"サムネイルを作成: 1 枚"_s));
}

// A folder stands for the pictures in it, as place takes one.
TEST_F(ThumbnailBatchTest, AFolderGivesThePicturesInIt) {
    const QString a = newPhoto(u"a.jpg"_s);
    const QString b = newPhoto(u"b.JPG"_s);
    writeBytes(dir.filePath(u"notes.txt"_s), "no picture");
    EXPECT_EQ(run({u"thumbnails"_s, dir.path()}), 0) << err.toStdString();
    EXPECT_TRUE(cached(a));
    EXPECT_TRUE(cached(b));
    EXPECT_TRUE(err.contains(u"サムネイルを作成: 2 枚"_s)) << err.toStdString();
    EXPECT_FALSE(err.contains(u"notes.txt"_s)) << err.toStdString();
}

namespace {

// Standard error that pulls the card the first time the run writes to it.
class PullingOnFirstWrite : public QBuffer {
public:
    std::function<void()> pull;

protected:
    qint64 writeData(const char* data, qint64 size) override {
        if (pull) std::exchange(pull, {})();
        return QBuffer::writeData(data, size);
    }
};

} // namespace

// Thumbnails read each photo when its turn comes: one gone by then is named as one missing from
// the start, and the run goes on and ends with status 3.
TEST_F(ThumbnailBatchTest, APhotoThatGoesWhileTheRunGoesIsNamedAndTheStatusIsThree) {
    QStringList photos;
    for (int i = 0; i < 40; ++i) {
        photos << dir.filePath(u"p%1.jpg"_s.arg(i));
        writeJpeg(photos.last(), twoColourImage({160, 120}, Qt::red, Qt::blue));
    }
    PullingOnFirstWrite device;
    device.pull = [&] { QFile::remove(photos.last()); };
    device.open(QIODevice::WriteOnly);
    QTextStream stream(&device);
    EXPECT_EQ(runThumbnailBatch(photos, dir.path(), stream), 3);
    stream.flush();
    const QString told = QString::fromUtf8(device.data());
    EXPECT_TRUE(told.contains(photos.last() + u": ファイルが見つかりません\n"_s)) << told.toStdString();
    EXPECT_TRUE(told.contains(u"サムネイルを作成: 39 枚"_s)) << told.toStdString();
}
