#include "album/album_commands.h"
#include "album/album_file.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class AlbumCommandsTest : public testing::Test {
protected:
    void fill(int count) {
        QList<AlbumRow> rows(count);
        for (int r = 0; r < count; ++r) {
            rows[r].info = u"info "_s + QString::number(r + 1) + u"\r\n"_s;
            rows[r].path = u"/p/"_s + QString::number(r + 1) + u".jpg"_s;
        }
        workspace.replaceRows(u"fill"_s, rows, 1);
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(AlbumCommandsTest, NewClearsAnUnchangedSheetWithoutAsking) {
    fill(2);
    workspace.SheetModified = 0;
    workspace.ClickCounter = 7;
    EXPECT_TRUE(AlbumCommands::NewAlbum(workspace, prompts));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(workspace.AlbumRowCount, 0);
    EXPECT_EQ(workspace.ClickCounter, 7);
}

TEST_F(AlbumCommandsTest, NewOnAModifiedSheetAsksAndNoKeepsEverything) {
    fill(3);
    const QList<AlbumRow> before = workspace.SS1.rows();
    EXPECT_FALSE(AlbumCommands::NewAlbum(workspace, prompts)); // unanswered: the default button is No
    ASSERT_EQ(prompts.messages.size(), 1);
    const Prompts::Message& question = prompts.lastMessage();
    EXPECT_EQ(question.text,
              u"現在のデータが失われます。\u3000データをすべてクリアーして良いですか？\u3000"_s);
    EXPECT_EQ(question.title, u"継続確認"_s);
    EXPECT_EQ(question.icon, Prompts::Icon::Question);
    EXPECT_EQ(question.buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Answer::No);
    EXPECT_EQ(workspace.SS1.rows(), before);
    EXPECT_EQ(workspace.SheetModified, 1);

    prompts.answers.push_back(Answer::Yes);
    EXPECT_TRUE(AlbumCommands::NewAlbum(workspace, prompts));
    EXPECT_EQ(workspace.SS1.dataRowCount(), 0);
    EXPECT_EQ(workspace.SheetModified, 0);

    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.rows(), before);
    EXPECT_EQ(workspace.SheetModified, 1);
}

TEST_F(AlbumCommandsTest, SaveAndLoadRoundTripThreeRows) {
    fill(3);
    workspace.SS1.setText(2, AlbumColumn::Number, u"5"_s);
    const QList<AlbumRow> saved = workspace.SS1.rows();
    const QString path = dir.filePath(u"album.dat"_s);
    prompts.savePaths.push_back(path);
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(workspace.SheetModified, 0);
    EXPECT_EQ(workspace.AlbumFilePath, path);
    EXPECT_EQ(prompts.fileRequests.last().filterIndex, 3);
    EXPECT_EQ(prompts.fileRequests.last().filter,
              u"すべてのﾌｧｲﾙ (*.*)|*.*|ﾃｷｽﾄ ﾌｧｲﾙ (*.txt)|*.txt|ﾃﾞｰﾀ ﾌｧｲﾙ (*.dat)|*.dat"_s);

    AlbumCommands::NewAlbum(workspace, prompts);
    EXPECT_EQ(workspace.AlbumFilePath, QString()) << "a new album has no file yet";
    workspace.replaceRows(u"new"_s, {}, 1);
    prompts.openPaths.push_back(path);
    ASSERT_TRUE(AlbumCommands::LoadAlbum(workspace, prompts));
    EXPECT_EQ(workspace.AlbumFilePath, path);
    EXPECT_EQ(workspace.SS1.rows(), saved);
    EXPECT_EQ(workspace.AlbumRowCount, 3);
    EXPECT_EQ(workspace.SheetModified, 0);
    EXPECT_EQ(workspace.FirstNewRow, 1);
    EXPECT_EQ(workspace.LastNewRow, 3);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(AlbumCommandsTest, EmptySheetGuardsUseTheirTexts) {
    EXPECT_FALSE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(prompts.lastMessage().text,
              u"対象データがありません。データを入力するか呼出しを行って下さい。"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"確認"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
    EXPECT_TRUE(prompts.fileRequests.isEmpty());

    EXPECT_FALSE(SheetGuard::SheetHasData(workspace, prompts, SheetGuard::Text::Short));
    EXPECT_EQ(prompts.lastMessage().text, u"対象データがありません。"_s);
    fill(1);
    EXPECT_TRUE(SheetGuard::SheetHasData(workspace, prompts, SheetGuard::Text::Short));
    EXPECT_EQ(prompts.messages.size(), 2);
}

TEST_F(AlbumCommandsTest, CancelledDialogsChangeNothing) {
    fill(2);
    const QList<AlbumRow> before = workspace.SS1.rows();
    EXPECT_FALSE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_FALSE(AlbumCommands::LoadAlbum(workspace, prompts));
    EXPECT_FALSE(AlbumCommands::ImportCsvList(workspace, prompts));
    EXPECT_EQ(workspace.SS1.rows(), before);
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(AlbumCommandsTest, FailuresAreReportedAndKeepTheOpenAlbum) {
    fill(2);
    const QList<AlbumRow> before = workspace.SS1.rows();
    const QString broken = dir.filePath(u"broken.dat"_s);
    writeBytes(broken, "grid bytes of another program");
    prompts.openPaths.push_back(broken);
    EXPECT_FALSE(AlbumCommands::LoadAlbum(workspace, prompts));
    EXPECT_EQ(prompts.lastMessage().title, u"エラー"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Critical);
    EXPECT_TRUE(prompts.lastMessage().text.contains(broken));

    prompts.savePaths.push_back(dir.filePath(u"missing/folder/a.dat"_s));
    EXPECT_FALSE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"missing/folder/a.dat"_s));
    EXPECT_EQ(workspace.SheetModified, 1);

    prompts.openPaths.push_back(dir.filePath(u"none.csv"_s));
    EXPECT_FALSE(AlbumCommands::ImportCsvList(workspace, prompts));
    EXPECT_EQ(prompts.messages.size(), 3);
    EXPECT_EQ(workspace.SS1.rows(), before);
}

TEST_F(AlbumCommandsTest, CsvImportReplacesTheSheetAndMarksItModified) {
    fill(5);
    workspace.SheetModified = 0;
    const QString csv = dir.filePath(u"list.csv"_s);
    writeBytes(csv, cp932(u"ヘッダ\r\nA,B,C.jpg\r\n"_s));
    prompts.openPaths.push_back(csv);
    ASSERT_TRUE(AlbumCommands::ImportCsvList(workspace, prompts));
    EXPECT_EQ(prompts.fileRequests.last().title, u"CSVファイルを開く"_s);
    EXPECT_EQ(prompts.fileRequests.last().filter, u"CSVﾌｧｲﾙ(*.CSV)|*.CSV"_s);
    EXPECT_EQ(workspace.AlbumRowCount, 1);
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), u"A\r\nB\r\n"_s);
    EXPECT_TRUE(workspace.SS1.text(1, AlbumColumn::Path).endsWith(u"C.jpg"_s));
    EXPECT_TRUE(workspace.ChosenFolder.endsWith(u'/'));
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_TRUE(prompts.messages.isEmpty());

    writeBytes(csv, "h\r\n");
    prompts.openPaths.push_back(csv);
    ASSERT_TRUE(AlbumCommands::ImportCsvList(workspace, prompts));
    EXPECT_EQ(workspace.AlbumRowCount, 0);
    EXPECT_EQ(workspace.SheetModified, 1);
}

TEST_F(AlbumCommandsTest, CsvImportStopsAtTheCapacityAndSaysHowManyLinesWereLeft) {
    workspace.AlbumMaxRows = 2;
    workspace.SS1.setMaxRows(2);
    const QString csv = dir.filePath(u"list.csv"_s);
    writeBytes(csv, "h\r\na,,1.jpg\r\nb,,2.jpg\r\nc,,3.jpg\r\n");
    prompts.openPaths.push_back(csv);
    ASSERT_TRUE(AlbumCommands::ImportCsvList(workspace, prompts));
    EXPECT_EQ(workspace.AlbumRowCount, 2);
    EXPECT_EQ(prompts.lastMessage().text,
              u"行数が超えました。取込みを中止します。\r\n取り込まれなかった行数：1"_s);
}

// Saving: the extension is added, the album's own file is proposed and replaced only when the
// user agrees, and a photo of the album is never taken for the album file.
TEST_F(AlbumCommandsTest, SaveAsksBeforeReplacingAndNeverWritesOverAPhoto) {
    fill(2);
    const QString photo = dir.filePath(u"DSC00001.JPG"_s);
    writeBytes(photo, "camera original");
    workspace.SS1.setText(1, AlbumColumn::Path, photo);
    prompts.savePaths = {photo, dir.filePath(u"現場"_s)};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(readBytes(photo), "camera original");
    EXPECT_TRUE(prompts.messages.first().message.text.startsWith(u"出力先がアルバムの写真です。"_s));
    const QString album = dir.filePath(u"現場.dat"_s);
    EXPECT_EQ(workspace.AlbumFilePath, album);
    EXPECT_EQ(AlbumFile::load(album, 1000).size(), 2);

    workspace.editCell(2, AlbumColumn::Info, u"changed\r\n"_s);
    prompts.messages.clear();
    prompts.savePaths = {album};
    EXPECT_FALSE(AlbumCommands::SaveAlbum(workspace, prompts)) << "No, then the dialog is cancelled";
    EXPECT_EQ(prompts.fileRequests.last().folder, dir.path());
    EXPECT_EQ(prompts.fileRequests.last().name, u"現場.dat"_s);
    EXPECT_EQ(AlbumFile::load(album, 1000)[1].info, u"info 2\r\n"_s);
    EXPECT_EQ(workspace.SheetModified, 1);
    prompts.savePaths = {album};
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(AlbumFile::load(album, 1000)[1].info, u"changed\r\n"_s);
}
