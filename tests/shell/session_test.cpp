#include "album/album_file.h"
#include "shell/session.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/program_files.h"
#include "workspace/settings_file.h"
#include "workspace/workspace.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class SessionTest : public testing::Test {
protected:
    QString file(const QString& name) const { return dir.filePath(name); }
    QByteArray settingsLine(int number) const {
        return readBytes(file(u"tovenla.ini"_s)).split('\n').at(number - 1);
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(SessionTest, FirstStartCreatesTheThreeFilesWithDefaults) {
    Session::startUp(workspace, prompts, {});
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(workspace.AlbumMaxRows, 1000);
    EXPECT_EQ(workspace.SS1.rowCount(), 1000);
    EXPECT_EQ(readBytes(file(u"add.dat"_s)), QByteArray());
    EXPECT_EQ(readBytes(file(u"tovenla.ini"_s)).count("\r\n"), 250);
    EXPECT_EQ(settingsLine(1), " 1000 \r");
    EXPECT_EQ(settingsLine(20), cp932(u"ＭＳ Ｐゴシック:10.5\r"_s));
    EXPECT_TRUE(readBytes(file(u"MJRT.dat"_s)).startsWith(R"({"format": "tovenla2-sheet")"));
}

// A program folder on a stick shows what a killed run left there on Windows: the next run
// removes it as it starts, before it writes anything, and leaves files of running ones alone.
TEST_F(SessionTest, StartUpRemovesWhatKilledRunsLeftInTheProgramFolder) {
    Session::startUp(workspace, prompts, {});
    QProcess ended;
    ended.start(u"true"_s, QStringList{});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 deadPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const QString left = file(u".tovenla-%1-k3x.tmp"_s.arg(deadPid));
    const QString running = file(u".tovenla-%1-k3y.tmp"_s.arg(QCoreApplication::applicationPid()));
    writeBytes(left, "half a file");
    writeBytes(running, "being written");
    Workspace next(dir.path());
    Session::startUp(next, prompts, {});
    EXPECT_FALSE(QFileInfo::exists(left));
    EXPECT_TRUE(QFileInfo::exists(running));
}

TEST_F(SessionTest, FilesOfLaterFeaturesSurviveARunByteForByte) {
    const QByteArray bookmarks = cp932(u"C:\\写真\\現場1\r\nD:\\photos\r\n"_s);
    const QByteArray phrases("\x00\x01 grid bytes \xFF", 16);
    writeBytes(file(u"add.dat"_s), bookmarks);
    writeBytes(file(u"MJRT.dat"_s), phrases);
    Session::startUp(workspace, prompts, {});
    Session::shutDown(workspace, prompts, false);
    EXPECT_EQ(readBytes(file(u"add.dat"_s)), bookmarks);
    EXPECT_EQ(readBytes(file(u"MJRT.dat"_s)), phrases);
    EXPECT_EQ(settingsLine(2), " 0 \r");
}

// A settings file with bytes that cannot be read is reported once and never written back, so
// the bytes are not lost to "?".
TEST_F(SessionTest, SettingsWithUnreadableBytesAreKeptAsTheyAre) {
    const QByteArray settings = " 500 \r\n 1 \r\n\x82\xFF\r\n";
    writeBytes(file(u"tovenla.ini"_s), settings);
    Session::startUp(workspace, prompts, {});
    EXPECT_EQ(workspace.AlbumMaxRows, 500);
    Session::shutDown(workspace, prompts, false);
    EXPECT_EQ(readBytes(file(u"tovenla.ini"_s)), settings);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"行 3"_s)) << prompts.lastMessage().text.toStdString();
}

TEST_F(SessionTest, CapacityComesFromItemOneAndStaysWithinTheSheet) {
    Settings settings = Settings::defaults();
    settings.setItem(1, SettingValue::number(6));
    SettingsFile::WriteSettingsFile(file(u"tovenla.ini"_s), settings);
    Session::startUp(workspace, prompts, {});
    EXPECT_EQ(workspace.AlbumMaxRows, 6);
    EXPECT_EQ(workspace.SS1.rowCount(), 6);

    workspace.settings.setItem(1, SettingValue::string(u"abc"_s));
    EXPECT_EQ(ProgramFiles::capacityFromSettings(workspace), 1000);
    workspace.settings.setItem(1, SettingValue::number(100000));
    EXPECT_EQ(ProgramFiles::capacityFromSettings(workspace), 32767);
}

TEST_F(SessionTest, TheAlbumNamedAtStartIsOpenedUnmodifiedAndNotUndoable) {
    QList<AlbumRow> rows(2);
    rows[1].path = u"/p/b.jpg"_s;
    AlbumFile::save(file(u"album.dat"_s), rows);
    Session::startUp(workspace, prompts, file(u"album.dat"_s));
    EXPECT_EQ(workspace.AlbumRowCount, 2);
    EXPECT_EQ(workspace.SheetModified, 0);
    EXPECT_FALSE(workspace.undoStack.canUndo());
}

TEST_F(SessionTest, AMissingAlbumIsReportedAndStartUpCompletes) {
    Session::startUp(workspace, prompts, file(u"gone.dat"_s));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"gone.dat"_s));
    EXPECT_TRUE(QFileInfo::exists(file(u"MJRT.dat"_s)));
}

TEST_F(SessionTest, ExitAsksOnlyForAModifiedSheetAndWritesTheFilesWhateverTheAnswer) {
    Session::startUp(workspace, prompts, {});
    Session::shutDown(workspace, prompts, true);
    EXPECT_TRUE(prompts.messages.isEmpty());

    QFile::remove(file(u"tovenla.ini"_s));
    workspace.editCell(1, AlbumColumn::Path, u"a.jpg"_s);
    prompts.answers = {Answer::No};
    Session::shutDown(workspace, prompts, true);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, u" シートが変更されてます。\u3000保存しますか？\u3000"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"終了確認"_s);
    EXPECT_EQ(prompts.lastMessage().buttons, Prompts::Buttons::YesNo);
    EXPECT_TRUE(QFileInfo::exists(file(u"tovenla.ini"_s)));
    EXPECT_EQ(settingsLine(2), " 1 \r");
}

TEST_F(SessionTest, ASaveThatDoesNotHappenAtExitAsksAgain) {
    Session::startUp(workspace, prompts, {});
    workspace.editCell(1, AlbumColumn::Path, u"a.jpg"_s);
    prompts.answers = {Answer::Yes, Answer::Yes};
    prompts.savePaths = {QString(), file(u"kept.dat"_s)}; // cancelled once, then saved
    Session::shutDown(workspace, prompts, false);
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(AlbumFile::load(file(u"kept.dat"_s), 10).size(), 1);
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(SessionTest, SettingsThatCp932CannotHoldAreReportedAndTheRestIsWritten) {
    Session::startUp(workspace, prompts, {});
    workspace.settings.setText(7, u"現場😀"_s);
    workspace.settings.setText(8, u"二番目"_s);
    Session::shutDown(workspace, prompts, false);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"😀"_s));
    EXPECT_EQ(settingsLine(57), cp932(u"現場?\r"_s));
    EXPECT_EQ(settingsLine(58), cp932(u"二番目\r"_s));
}

TEST_F(SessionTest, AFolderThatCannotBeWrittenIsReportedForEachFile) {
    Session::startUp(workspace, prompts, {});
    Workspace elsewhere(dir.filePath(u"removed"_s));
    Session::shutDown(elsewhere, prompts, false);
    ASSERT_EQ(prompts.messages.size(), 3);
    EXPECT_TRUE(prompts.messages[0].message.text.contains(u"add.dat"_s));
    EXPECT_TRUE(prompts.messages[1].message.text.contains(u"tovenla.ini"_s));
    EXPECT_TRUE(prompts.messages[2].message.text.contains(u"MJRT.dat"_s));
}
