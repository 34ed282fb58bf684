#include "album/album_file.h"
#include "app/batch.h"
#include "app/command_line.h"
#include "support/test_files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Mode = CommandLine::Mode;

TEST(CommandLine, TheAlbumIsTheTextBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(quotedAlbumPath(u"\"C:\\写真 帳\\a.dat\" /extra words"_s), u"C:\\写真 帳\\a.dat"_s);
    EXPECT_EQ(quotedAlbumPath(u"C:\\a.dat"_s), QString());
    EXPECT_EQ(quotedAlbumPath(u"\"C:\\a.dat"_s), QString());

    EXPECT_EQ(CommandLine::parse({u"\"/tmp/a b.dat\" more"_s}).albumPath, u"/tmp/a b.dat"_s);
    EXPECT_EQ(CommandLine::parse({u"\"/tmp/a"_s, u"b.dat\""_s}).albumPath, u"/tmp/a b.dat"_s);
    EXPECT_EQ(CommandLine::parse({u"/tmp/a b.dat"_s}).albumPath, u"/tmp/a b.dat"_s);
    const CommandLine none = CommandLine::parse({});
    EXPECT_EQ(none.mode, Mode::Window);
    EXPECT_TRUE(none.albumPath.isEmpty());
}

TEST(CommandLine, SubCommandsAndMistakes) {
    const CommandLine import = CommandLine::parse({u"import-csv"_s, u"l.csv"_s, u"a.dat"_s});
    EXPECT_EQ(import.mode, Mode::ImportCsv);
    EXPECT_EQ(import.csvPath, u"l.csv"_s);
    EXPECT_EQ(import.outputPath, u"a.dat"_s);
    EXPECT_EQ(CommandLine::parse({u"--help"_s}).mode, Mode::Help);
    EXPECT_EQ(CommandLine::parse({u"--version"_s}).mode, Mode::Version);
    EXPECT_EQ(CommandLine::parse({u"import-csv"_s, u"l.csv"_s}).mode, Mode::Invalid);
    EXPECT_EQ(CommandLine::parse({u"--bogus"_s}).mode, Mode::Invalid);
    EXPECT_EQ(CommandLine::parse({u"a.dat"_s, u"b.dat"_s}).mode, Mode::Invalid);
}

class BatchTest : public testing::Test {
protected:
    int run(const QStringList& arguments) {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        return runBatch(CommandLine::parse(arguments), dir.path(), outStream, errStream);
    }

    QTemporaryDir dir;
    QString out;
    QString err;
};

TEST_F(BatchTest, ImportCsvWritesTheAlbumWithTheCapacityOfTheSettings) {
    const QString csv = dir.filePath(u"list.csv"_s);
    const QString album = dir.filePath(u"album.dat"_s);
    writeBytes(csv, cp932(u"h\r\nA,B,C.jpg\r\nD,E,F.jpg\r\nG,H,I.jpg\r\n"_s));
    EXPECT_EQ(run({u"import-csv"_s, csv, album}), 0);
    EXPECT_EQ(AlbumFile::load(album, 1000).size(), 3);

    QList<QByteArray> lines(250);
    lines[0] = " 2 ";
    QByteArray ini;
    for (const QByteArray& line : lines)
        ini += line + "\r\n";
    writeBytes(dir.filePath(u"tovenla.ini"_s), ini);
    EXPECT_EQ(run({u"import-csv"_s, csv, album}), 3);
    EXPECT_EQ(AlbumFile::load(album, 1000).size(), 2);
    EXPECT_TRUE(err.contains(u"1 lines"_s));
}

TEST_F(BatchTest, ErrorsGoToStandardErrorWithAFailingStatus) {
    EXPECT_EQ(run({u"import-csv"_s, dir.filePath(u"none.csv"_s), dir.filePath(u"a.dat"_s)}), 1);
    EXPECT_TRUE(err.contains(u"none.csv"_s));
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(run({u"--nonsense"_s}), 1);
    EXPECT_TRUE(err.contains(u"Usage"_s));
    EXPECT_EQ(run({u"--version"_s}), 0);
    EXPECT_TRUE(out.startsWith(u"Tovenla2 "_s));
}
