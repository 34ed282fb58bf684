#include "album/album_file.h"
#include "base/app_error.h"
#include "base/sheet_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(AlbumFile, KeepsColumnsTwoToFourAndDropsPictures) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.dat"_s);
    QList<AlbumRow> rows(3);
    rows[0] = {QImage(2, 2, QImage::Format_RGB32), u"K12_01\r\n近景\r\n\r\n"_s, u"2"_s, u"/p/K12_01.jpg"_s};
    rows[2].path = u"/p/c.jpg"_s;
    AlbumFile::save(path, rows);

    const QList<AlbumRow> loaded = AlbumFile::load(path, 3);
    ASSERT_EQ(loaded.size(), 3);
    EXPECT_TRUE(loaded[0].picture.isNull());
    EXPECT_EQ(loaded[0].info, rows[0].info);
    EXPECT_EQ(loaded[0].number, u"2"_s);
    EXPECT_TRUE(loaded[1].isEmpty());
    EXPECT_EQ(loaded[2].path, u"/p/c.jpg"_s);
}

TEST(AlbumFile, RefusesMoreRowsThanTheCapacityAndOtherGrids) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"big.dat"_s);
    QList<AlbumRow> rows(5);
    rows[4].path = u"e.jpg"_s;
    AlbumFile::save(path, rows);
    try {
        AlbumFile::load(path, 4);
        FAIL() << "cut silently";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"big.dat"_s));
        EXPECT_TRUE(error.message().contains(u"上限"_s));
    }

    SheetContent phrases;
    phrases.columns = 1;
    phrases.rows[1] = {u"phrase"_s};
    SheetFile::save(dir.filePath(u"MJRT.dat"_s), phrases);
    EXPECT_THROW(AlbumFile::load(dir.filePath(u"MJRT.dat"_s), 1000), AppError);
}

// A photo named relative to the album is the one beside the album, wherever the program runs
// from; paths written on Windows stay as they are.
TEST(AlbumFile, RelativePhotoPathsAreTakenFromTheAlbumsFolder) {
    QTemporaryDir dir;
    const QString album = QDir(dir.path()).filePath(u"site/album.dat"_s);
    QDir().mkpath(QFileInfo(album).path());
    SheetContent content;
    content.columns = AlbumColumn::Count;
    const QStringList stored{u"p01.jpg"_s,
                             u"写真\\p02.jpg"_s,
                             u"../other/p03.jpg"_s,
                             u"C:\\site\\p04.jpg"_s,
                             u"\\\\server\\p05.jpg"_s,
                             u"/photos/p06.jpg"_s,
                             QString()};
    for (int r = 0; r < stored.size(); ++r)
        content.rows[r + 1] = {QString(), u"info"_s, QString(), stored.at(r)};
    SheetFile::save(album, content);

    const QList<AlbumRow> rows = AlbumFile::load(album, 10);
    ASSERT_EQ(rows.size(), stored.size());
    EXPECT_EQ(rows[0].path, dir.filePath(u"site/p01.jpg"_s));
    EXPECT_EQ(rows[1].path, dir.filePath(u"site/写真/p02.jpg"_s));
    EXPECT_EQ(rows[2].path, dir.filePath(u"other/p03.jpg"_s));
    for (int r = 3; r < stored.size(); ++r)
        EXPECT_EQ(rows[r].path, stored.at(r));
}
