#include "album/album_file.h"
#include "classified_fixture.h"
#include "support/batch_run.h"
#include "support/test_files.h"

#include <QFile>

using namespace Qt::StringLiterals;

class ClassifiedBatchTest : public ClassifiedFixture {
protected:
    void SetUp() override {
        csv = writeCsv({line(u"1-1"_s, u"A"_s, u"SA"_s, u"n1.jpg"_s, u"f1.jpg"_s),
                        line(u"1-2"_s, u"A"_s, u"SA2"_s, u"n2.jpg"_s, u"f2.jpg"_s),
                        line(u"1-2"_s, u"B"_s, u"SB"_s, u"n3.jpg"_s, u"f3.jpg"_s)});
    }
    int run(const QStringList& arguments) { return runCommand(arguments, program.path(), output, errors); }

    QTemporaryDir program;
    QString csv;
    QString album = path(u"album.dat"_s);
    QString output;
    QString errors;
};

TEST_F(ClassifiedBatchTest, GroupsByEitherKeyAndFromASavedImportFile) {
    EXPECT_EQ(run({u"classified-groups"_s, csv}), 0) << errors.toStdString();
    EXPECT_EQ(output, u"1\tA\tSA\t2\t\n2\tB\tSB\t1\t\n"_s);

    // The key follows settings item 10 unless given: -1 is the map number.
    writeBytes(program.filePath(u"tovenla.ini"_s),
               " 1000 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n -1 \r\n");
    EXPECT_EQ(run({u"classified-groups"_s, csv}), 0) << errors.toStdString();
    EXPECT_EQ(output, u"1\t1-1\t1-1\t1\t\n2\t1-2\t1-2\t2\t\n"_s);
    EXPECT_EQ(run({u"classified-groups"_s, csv, u"--key"_s, u"公図正"_s, u"--save"_s, path(u"g.spd"_s)}), 0);
    EXPECT_TRUE(QFile::exists(path(u"g.sp2"_s)));
    EXPECT_EQ(run({u"classified-groups"_s, path(u"g.spd"_s), u"--key"_s, u"図番"_s}), 0);
    EXPECT_EQ(output, u"1\tA\tSA\t2\t\n2\tB\tSB\t1\t\n"_s);

    EXPECT_EQ(run({u"classified-groups"_s, csv, u"--key"_s, u"番号"_s}), 1);
    EXPECT_TRUE(errors.contains(u"classified-groups SOURCE"_s)) << errors.toStdString();
}

TEST_F(ClassifiedBatchTest, CheckExitsTwoWithALogAndZeroWhenClean) {
    EXPECT_EQ(run({u"classified-check"_s, csv}), 2);
    EXPECT_TRUE(errors.contains(u"CHKErr.log"_s)) << errors.toStdString();
    EXPECT_EQ(readBytes(path(u"CHKErr.log"_s)).count("\r\n"), 6);
    for (const QString& name : {u"n1"_s, u"f1"_s, u"n2"_s, u"f2"_s, u"n3"_s, u"f3"_s})
        touch(name + u".jpg"_s);
    EXPECT_EQ(run({u"classified-check"_s, csv}), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains(u"不正なデータは見つかりませんでした。"_s));

    EXPECT_EQ(run({u"classified-check"_s, writeCsv({}, u"empty.csv"_s)}), 1);
    EXPECT_TRUE(errors.contains(u"対象データがありません。"_s) && errors.contains(u"empty.csv"_s));
}

TEST_F(ClassifiedBatchTest, ImportWritesChosenGroupsAndSavesTheFlags) {
    EXPECT_EQ(
        run({u"import-classified"_s, csv, album, u"--groups"_s, u"2,1"_s, u"--save"_s, path(u"d.spd"_s)}), 0)
        << errors.toStdString();
    const QList<AlbumRow> rows = AlbumFile::load(album, 1000);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_TRUE(rows[0].info.startsWith(u"1-2\r\n"_s));
    EXPECT_TRUE(rows[0].info.endsWith(u"\r\nSB\r\n"_s));
    EXPECT_TRUE(rows[2].info.startsWith(u"1-1\r\n"_s));
    EXPECT_EQ(run({u"classified-groups"_s, path(u"d.spd"_s)}), 0);
    EXPECT_EQ(output, u"1\tA\tSA\t2\t1\n2\tB\tSB\t1\t1\n"_s);

    // Refusals leave the album file as it was.
    const QByteArray before = readBytes(album);
    EXPECT_EQ(run({u"import-classified"_s, csv, album, u"--groups"_s, u"3"_s}), 1);
    EXPECT_EQ(run({u"import-classified"_s, writeCsv({}, u"empty.csv"_s), album, u"--groups"_s, u"all"_s}), 1);
    EXPECT_EQ(run({u"import-classified"_s, csv, csv, u"--groups"_s, u"all"_s}), 1);
    EXPECT_EQ(run({u"import-classified"_s, csv, album}), 1);
    EXPECT_EQ(readBytes(album), before);

    writeBytes(program.filePath(u"tovenla.ini"_s), " 3 \r\n");
    EXPECT_EQ(run({u"import-classified"_s, csv, album, u"--groups"_s, u"all"_s}), 3);
    EXPECT_TRUE(errors.contains(u"最終行に達しましたのでインポートをここで終了します。"_s));
    EXPECT_EQ(AlbumFile::load(album, 1000).size(), 2); // no line is written in half
}

// The photos of the groups not chosen are inputs of the run as well, whatever the letter case
// an output names them in.
TEST_F(ClassifiedBatchTest, NoOutputGoesOverAPhotoTheListNames) {
    writeBytes(path(u"f3.jpg"_s), "group 2's far photo");
    EXPECT_EQ(run({u"import-classified"_s, csv, path(u"f3.jpg"_s), u"--groups"_s, u"1"_s}), 1);
    EXPECT_TRUE(errors.contains(u"出力先がアルバムの写真です。"_s)) << errors.toStdString();
    EXPECT_EQ(run({u"classified-groups"_s, csv, u"--save"_s, path(u"F3.JPG"_s)}), 1);
    EXPECT_TRUE(errors.contains(u"出力先がアルバムの写真です。"_s)) << errors.toStdString();
    EXPECT_EQ(
        run({u"import-classified"_s, csv, album, u"--groups"_s, u"1"_s, u"--save"_s, path(u"F3.jpg"_s)}), 1);
    EXPECT_EQ(readBytes(path(u"f3.jpg"_s)), "group 2's far photo");
    EXPECT_FALSE(QFile::exists(album));
}

// "--save 山田1" then "--save 山田2" once made the second write its grid over the first's
// companion; each name now gets ".spd" and a pair of its own.
TEST_F(ClassifiedBatchTest, SavesWithoutExtensionKeepTheirOwnPairs) {
    const QString other = writeCsv({line(u"9"_s, u"C"_s, u"SC"_s, u"n9.jpg"_s, u"f9.jpg"_s)}, u"other.csv"_s);
    EXPECT_EQ(run({u"classified-groups"_s, csv, u"--save"_s, path(u"山田1"_s)}), 0) << errors.toStdString();
    EXPECT_EQ(
        run({u"import-classified"_s, other, album, u"--groups"_s, u"all"_s, u"--save"_s, path(u"山田2"_s)}),
        0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains(path(u"山田2.spd"_s))) << output.toStdString();
    for (const QString& name : {u"山田1"_s, u"山田2"_s})
        EXPECT_FALSE(QFile::exists(path(name)));
    EXPECT_EQ(run({u"classified-groups"_s, path(u"山田1.spd"_s)}), 0) << errors.toStdString();
    EXPECT_EQ(output, u"1\tA\tSA\t2\t\n2\tB\tSB\t1\t\n"_s);
    EXPECT_EQ(run({u"classified-groups"_s, path(u"山田2.spd"_s)}), 0) << errors.toStdString();
    EXPECT_EQ(output, u"1\tC\tSC\t1\t1\n"_s);

    // A name that is its own companion is refused before the album is touched.
    const QByteArray albumBefore = readBytes(album);
    EXPECT_EQ(
        run({u"import-classified"_s, csv, album, u"--groups"_s, u"all"_s, u"--save"_s, path(u"区画.sp2"_s)}),
        1);
    EXPECT_TRUE(errors.contains(u"インポートファイルを保存しませんでした。"_s)) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(path(u"区画.sp2"_s)));
    EXPECT_EQ(readBytes(album), albumBefore);
}
