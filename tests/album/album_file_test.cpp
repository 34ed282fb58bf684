#include "album/album_file.h"
#include "base/app_error.h"
#include "base/sheet_file.h"

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
