#include "album/album_file.h"
#include "support/batch_run.h"
#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class AlbumBatchTest : public testing::Test {
protected:
    int run(const QStringList& arguments) { return runCommand(arguments, dir.path(), output, errors); }
    QString photo(const QString& name) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        writeBytes(dir.filePath(name), name.toUtf8());
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    QString album = dir.filePath(u"album.dat"_s);
    QString output;
    QString errors;
};

TEST_F(AlbumBatchTest, PlaceCreatesTheAlbumAndAppendsAfterTheLastRow) {
    photo(u"shots/P10.jpg"_s);
    photo(u"shots/P2.JPG"_s);
    photo(u"shots/notes.txt"_s);
    const QString single = photo(u"K1_01.jpg"_s);
    EXPECT_EQ(run({u"place"_s, album, dir.filePath(u"shots"_s)}), 0) << errors.toStdString();
    EXPECT_EQ(run({u"place"_s, album, single}), 0);
    const QList<AlbumRow> rows = AlbumFile::load(album, 1000);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].path, dir.filePath(u"shots/P2.JPG"_s));
    EXPECT_EQ(rows[1].path, dir.filePath(u"shots/P10.jpg"_s));
    EXPECT_EQ(rows[2].path, single);
    EXPECT_TRUE(rows[2].info.startsWith(u"K1_01\r\n近景\r\n"_s)) << rows[2].info.toStdString();
}

TEST_F(AlbumBatchTest, PlaceFromARowLeavesOutWhatDoesNotFit) {
    writeBytes(dir.filePath(u"tovenla.ini"_s), " 3 \r\n");
    const QString a = photo(u"a.jpg"_s), b = photo(u"b.jpg"_s), c = photo(u"c.jpg"_s);
    EXPECT_EQ(run({u"place"_s, album, u"--row"_s, u"2"_s, a, b, c, photo(u"x.txt"_s)}), 3);
    EXPECT_TRUE(errors.contains(u"行数が超えました。取込みを中止します。"_s)) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"x.txt"_s));
    const QList<AlbumRow> rows = AlbumFile::load(album, 3);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].path.isEmpty());
    EXPECT_EQ(rows[2].path, b);

    EXPECT_EQ(run({u"place"_s, album, dir.filePath(u"missing.jpg"_s)}), 1);
    EXPECT_EQ(run({u"place"_s, album, u"--row"_s, u"0"_s, a}), 1);
    EXPECT_EQ(run({u"place"_s, album}), 1);
}

TEST_F(AlbumBatchTest, CopyPhotosCopiesAndReportsWhatWasLeftOut) {
    const QString a = photo(u"a.jpg"_s);
    QList<AlbumRow> rows(3);
    rows[0] = {{}, u"1\r\nK-\r\n"_s, {}, a};
    rows[2] = {{}, u"2\r\n"_s, {}, u"C:\\gone.jpg"_s};
    AlbumFile::save(album, rows);
    const QString target = dir.filePath(u"out/new"_s);
    EXPECT_EQ(run({u"copy-photos"_s, album, target}), 3);
    EXPECT_EQ(readBytes(QDir(target).filePath(u"K-1.jpg"_s)), "a.jpg");
    EXPECT_TRUE(errors.contains(u"C:\\gone.jpg"_s)) << errors.toStdString();

    rows.removeLast();
    AlbumFile::save(album, rows);
    EXPECT_EQ(run({u"copy-photos"_s, album, target}), 0);
    EXPECT_EQ(run({u"copy-photos"_s, album}), 1);
}
