#include "album/album_file.h"
#include "base/batch_command.h"
#include "shell/batch.h"
#include "shell/command_line.h"
#include "support/batch_run.h"
#include "support/test_files.h"
#include "test_paths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Mode = CommandLine::Mode;

TEST(CommandLine, TheAlbumIsTheTextBetweenTheFirstTwoQuotes) {
    EXPECT_EQ(quotedAlbumPath(u"\"C:\\写真 帳\\a.dat\" /extra words"_s), u"C:\\写真 帳\\a.dat"_s);
    EXPECT_EQ(quotedAlbumPath(u"C:\\a.dat"_s), QString());
    EXPECT_EQ(quotedAlbumPath(u"\"C:\\a.dat"_s), QString());

    EXPECT_EQ(resolveAlbumArgument({u"\"/tmp/a b.dat\" more"_s}).path, u"/tmp/a b.dat"_s);
    EXPECT_EQ(resolveAlbumArgument({u"\"/tmp/a"_s, u"b.dat\""_s}).path, u"/tmp/a b.dat"_s);
    const CommandLine none = CommandLine::parse({});
    EXPECT_EQ(none.mode, Mode::Window);
    EXPECT_TRUE(resolveAlbumArgument(none.albumWords).path.isEmpty());
}

// A launcher may split an unquoted path with blanks into several words. Words that name no
// album are still the album asked for: the window says it cannot be read, rather than show an
// empty sheet as if none had been named.
TEST(CommandLine, UnquotedWordsNameTheAlbumJoinedByBlanks) {
    QTemporaryDir dir;
    const QString album = dir.filePath(u"my  album 写真.dat"_s);
    writeBytes(album, "x");
    const CommandLine split = CommandLine::parse(album.split(u' '));
    ASSERT_EQ(split.mode, Mode::Window);
    EXPECT_EQ(resolveAlbumArgument(split.albumWords).path, album);
    EXPECT_EQ(resolveAlbumArgument({dir.filePath(u"no"_s), u"such.dat"_s}).path,
              dir.filePath(u"no such.dat"_s));
}

TEST(CommandLine, SubCommandsAndMistakes) {
    const CommandLine import = CommandLine::parse({u"import-csv"_s, u"l.csv"_s, u"a.dat"_s});
    EXPECT_EQ(import.mode, Mode::Batch);
    ASSERT_NE(import.command, nullptr);
    EXPECT_EQ(import.command->name, u"import-csv"_s);
    EXPECT_EQ(import.arguments, (QStringList{u"l.csv"_s, u"a.dat"_s}));
    EXPECT_EQ(CommandLine::parse({u"--help"_s}).mode, Mode::Help);
    EXPECT_EQ(CommandLine::parse({u"--version"_s}).mode, Mode::Version);
    EXPECT_EQ(CommandLine::parse({u"--bogus"_s}).mode, Mode::Invalid);
    // Every sub-command is listed in the usage text.
    for (const BatchCommand& command : batchCommands())
        EXPECT_TRUE(CommandLine::usage().contains(u"tovenla2 "_s + command.name))
            << command.name.toStdString();
    EXPECT_EQ(CommandLine::parse({u"a.dat"_s, u"b.dat"_s}).mode, Mode::Window);
}

class BatchTest : public testing::Test {
protected:
    int run(const QStringList& arguments) { return runCommand(arguments, dir.path(), out, err); }

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
    EXPECT_TRUE(err.contains(u"取り込まれなかった行数：1"_s));
}

TEST_F(BatchTest, ErrorsGoToStandardErrorWithAFailingStatus) {
    EXPECT_EQ(run({u"import-csv"_s, dir.filePath(u"none.csv"_s), dir.filePath(u"a.dat"_s)}), 1);
    EXPECT_TRUE(err.contains(u"none.csv"_s));
    EXPECT_TRUE(err.contains(u"ファイルが見つかりません。"_s)) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(run({u"import-csv"_s, u"only-one.csv"_s}), 1);
    EXPECT_TRUE(err.contains(u"tovenla2 import-csv LIST.CSV ALBUM.dat"_s));
    EXPECT_EQ(run({u"--nonsense"_s}), 1);
    EXPECT_TRUE(err.contains(u"使い方"_s));
    EXPECT_EQ(run({u"--version"_s}), 0);
    EXPECT_TRUE(out.startsWith(u"Tovenla2 "_s));
}

// The list must never be overwritten by the album made from it, nor an empty album written.
TEST_F(BatchTest, ImportCsvRefusesToWriteOverItsInputOrToWriteNothing) {
    const QString csv = dir.filePath(u"list.csv"_s);
    const QByteArray list = cp932(u"h\r\nA,B,C.jpg\r\n"_s);
    writeBytes(csv, list);
    const QString link = dir.filePath(u"link.csv"_s);
    ASSERT_TRUE(QFile::link(csv, link));
    const QString hardLink = dir.filePath(u"hard.csv"_s);
    ASSERT_EQ(::link(QFile::encodeName(csv).constData(), QFile::encodeName(hardLink).constData()), 0);
    for (const QString& output : QStringList{csv, dir.path() + u"/./list.csv"_s, link, hardLink}) {
        EXPECT_EQ(run({u"import-csv"_s, csv, output}), 1) << output.toStdString();
        EXPECT_TRUE(err.contains(u"出力先がCSV ファイルです。"_s)) << err.toStdString();
        EXPECT_EQ(readBytes(csv), list);
    }

    writeBytes(csv, cp932(u"header only\r\n"_s));
    const QString album = dir.filePath(u"album.dat"_s);
    EXPECT_EQ(run({u"import-csv"_s, csv, album}), 1);
    EXPECT_FALSE(QFileInfo::exists(album));

    // A file that cannot be written gets a reason in the program's own words.
    writeBytes(csv, list);
    EXPECT_EQ(run({u"import-csv"_s, csv, dir.filePath(u"missing/album.dat"_s)}), 1);
    EXPECT_TRUE(err.contains(u"保存先のフォルダが見つかりません。"_s)) << err.toStdString();
}

// Without a display the program must say so plainly, not with Qt's plugin message.
TEST(ProgramWithoutDisplay, SaysSoAndEndsWithStatusOne) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QTemporaryDir home;
    environment.insert(u"TOVENLA_HOME"_s, home.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOVENLA_EXECUTABLE), {});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(err.contains(u"画面（ディスプレイ）が見つかりません"_s)) << err.toStdString();
    EXPECT_TRUE(err.contains(u"--help"_s));
    EXPECT_FALSE(err.contains(u"platform plugin"_s));

    // A display named but out of reach ends the same way.
    environment.insert(u"DISPLAY"_s, u":97"_s);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOVENLA_EXECUTABLE), {});
    ASSERT_TRUE(program.waitForFinished(20000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError()).contains(u"画面（ディスプレイ）"_s));
}

// A program folder that cannot be what TOVENLA_HOME says stops the sub-commands with the
// reason, as it stops the window, instead of running them on default settings.
TEST(ProgramFolderOfCommands, AFileOrAMissingFolderIsNamedAndNothingRuns) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"out.pdf"_s);
    const auto run = [&](const QString& home, const QStringList& arguments, QString& err) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TOVENLA_HOME"_s, home);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TOVENLA_EXECUTABLE), arguments);
        EXPECT_TRUE(program.waitForFinished(20000));
        err = QString::fromLocal8Bit(program.readAllStandardError());
        return program.exitCode();
    };
    const QString file = dir.filePath(u"home"_s);
    writeBytes(file, "not a folder");
    QString err;
    EXPECT_EQ(run(file, {u"label-pdf"_s, pdf}, err), 1);
    EXPECT_TRUE(err.contains(u"プログラムフォルダを使用できません。\n"_s + file)) << err.toStdString();
    EXPECT_TRUE(err.contains(u"同じ名前のファイルがあるため"_s));

    const QString missing = dir.filePath(u"typo"_s);
    EXPECT_EQ(run(missing, {u"label-pdf"_s, pdf}, err), 1);
    EXPECT_TRUE(err.contains(u"フォルダが見つかりません（環境変数 TOVENLA_HOME"_s)) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_FALSE(QFileInfo::exists(pdf));

    EXPECT_EQ(run(missing, {u"--help"_s}, err), 0) << "the usage needs no program folder";
    EXPECT_EQ(run(dir.path(), {u"label-pdf"_s, pdf}, err), 0) << err.toStdString();
}
