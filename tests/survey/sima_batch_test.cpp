#include "album/album_file.h"
#include "support/batch_run.h"
#include "support/test_files.h"
#include "survey/sima_batch.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class SimaBatchTest : public testing::Test {
protected:
    int run(const QStringList& arguments) { return runCommand(arguments, dir.path(), output, errors); }
    QString file(const QString& name, const QByteArray& bytes) {
        writeBytes(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    QString album = dir.filePath(u"album.dat"_s);
    QString sima =
        file(u"site.sim"_s, cp932(u"A01,1,ZT1      ,10.5,-3,1.25,\nA01,2,ZT2,1e3,2,,\nD00,1,1-2,1,\n"
                                  u"B01,1,ZT1,\nB01,2,ZT2,\nB01,3,K4,\nD00,2,北,1,\nB01,4,ZT9,\n"_s));
    QString output;
    QString errors;
};

} // namespace

TEST_F(SimaBatchTest, ImportParcelsWritesTwoRowsAPoint) {
    const QString pm = file(u"pm.csv"_s, "ZT2,3\r\nZT9,x\r\n");
    EXPECT_EQ(
        run({u"import-parcels"_s, sima, album, u"--pm"_s, pm, u"--folder"_s, u"/p"_s, u"--line1"_s, u"L1"_s}),
        3);
    EXPECT_TRUE(errors.contains(u"ZT9"_s)) << errors.toStdString();
    const QList<AlbumRow> rows = AlbumFile::load(album, 1000);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0].info, u"L1\r\nZT1\r\n有り\r\n市石杭\r\n1-2\r\n"_s);
    EXPECT_EQ(rows[2].info, u"L1\r\nZT2\r\n不明\r\n民間石杭\r\n1-2\r\n"_s);
    EXPECT_EQ(rows[4].info, u"L1\r\nZT9\r\n\r\n\r\n北\r\n"_s);
    EXPECT_EQ(rows[0].path, u"/p/ZT1_01.jpg"_s);
    EXPECT_EQ(rows[1].path, u"/p/ZT1_02.jpg"_s);

    // Without --pm every point has code 0; a small album leaves points out.
    writeBytes(dir.filePath(u"tovenla.ini"_s), " 3 \r\n");
    EXPECT_EQ(run({u"import-parcels"_s, sima, album}), 3);
    EXPECT_TRUE(errors.contains(u"最終行に達しましたのでインポートをここで終了します。"_s))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"取り込まれなかった点数：2"_s)) << errors.toStdString();
    EXPECT_EQ(AlbumFile::load(album, 1000).size(), 2); // no line is written in half
}

TEST_F(SimaBatchTest, FailuresLeaveTheAlbumUntouched) {
    writeBytes(album, "untouched");
    const QString bad = file(u"bad.sim"_s, "D00,1,A,\r\nB01,1,ZT\x82\xFF,\r\n");
    EXPECT_EQ(run({u"import-parcels"_s, bad, album}), 1);
    EXPECT_TRUE(errors.contains(u"bad.sim"_s) && errors.contains(u"行 2"_s)) << errors.toStdString();
    const QString none = file(u"none.sim"_s, "A01,1,P,1,2,\r\n");
    EXPECT_EQ(run({u"import-parcels"_s, none, album}), 1);
    EXPECT_TRUE(errors.contains(u"画地がありません。"_s));
    EXPECT_EQ(run({u"parcel-album"_s, none, album, u"--parcels"_s, u"all"_s}), 1);
    EXPECT_EQ(run({u"parcel-album"_s, sima, album, u"--parcels"_s, u"3"_s}), 1);
    EXPECT_EQ(run({u"import-parcels"_s, sima, sima}), 1);
    EXPECT_EQ(readBytes(album), "untouched");
}

TEST_F(SimaBatchTest, ParcelListAndAlbum) {
    EXPECT_EQ(run({u"parcel-list"_s, sima}), 0);
    EXPECT_EQ(output, u"1\t1-2\t3\n2\t北\t1\n"_s);
    EXPECT_EQ(run({u"parcel-album"_s, sima, album, u"--parcels"_s, u"2,1"_s, u"--folder"_s, u"/f/"_s}), 0)
        << errors.toStdString();
    const QList<AlbumRow> rows = AlbumFile::load(album, 1000);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].info, u"\r\nZT1\r\n\r\n\r\n1-2\r\n"_s);
    EXPECT_EQ(rows[3].path, u"/f/ZT9.jpg"_s);
}

TEST_F(SimaBatchTest, PointsAreListedAndLookedUp) {
    EXPECT_EQ(run({u"sima-points"_s, sima}), 0);
    EXPECT_EQ(output, u"ZT1\t10.5\t-3\t1.25\nZT2\t1000\t2\t\n"_s);
    EXPECT_EQ(run({u"sima-points"_s, sima, u"ZT2"_s, u"ZT7"_s, u"ZT1  "_s}), 3);
    EXPECT_EQ(output, u"ZT2\t1000\t2\t\nZT1\t10.5\t-3\t1.25\n"_s);
    EXPECT_TRUE(errors.contains(u"ZT7"_s));
}

TEST_F(SimaBatchTest, ParcelReportWritesTheWorkbookAndSaysWhenPhotosWereLeftOut) {
    // Frames without their photo are written, and the status says photos were left out.
    const QString out = dir.filePath(u"r.xlsx"_s);
    EXPECT_EQ(run({u"parcel-report"_s, sima, u"--parcels"_s, u"all"_s, u"--type"_s, u"2"_s, u"--out"_s, out}),
              3)
        << errors.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_TRUE(output.contains(u"写真 8 枚"_s) && output.contains(u"写真ファイルのない枠 8"_s))
        << output.toStdString();
    for (const QString& point : {u"ZT1"_s, u"ZT2"_s, u"K4"_s}) {
        QImage photo(40, 30, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        ASSERT_TRUE(photo.save(dir.filePath(point + u".jpg"_s)));
    }
    EXPECT_EQ(run({u"parcel-report"_s, sima, u"--parcels"_s, u"1"_s, u"--folder"_s, dir.path()}), 0)
        << output.toStdString();
    EXPECT_FALSE(output.contains(u"写真ファイルのない枠"_s)) << output.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(u"不動産報告書.xlsx"_s)));
    EXPECT_EQ(run({u"parcel-report"_s, sima, u"--parcels"_s, u"1"_s, u"--type"_s, u"3"_s}), 1);
}

TEST(SimaBatchRows, ListRowsFromTheRowList) {
    EXPECT_EQ(SimaBatch::parcelRowsFromList(u"2,5-7"_s, 9), (QList<int>{2, 5, 6, 7}));
    EXPECT_EQ(SimaBatch::parcelRowsFromList(u"3, 1-2,2"_s, 3), (QList<int>{1, 2, 3}));
    EXPECT_EQ(SimaBatch::parcelRowsFromList(u"all"_s, 2), (QList<int>{1, 2}));
    for (const QString& bad : {u"0"_s, u"4"_s, u"2-1"_s, u"x"_s, u"1-2-3"_s, QString()})
        EXPECT_THROW(SimaBatch::parcelRowsFromList(bad, 3), BatchUsageError) << bad.toStdString();
}
