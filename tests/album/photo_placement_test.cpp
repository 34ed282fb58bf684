#include "album/album_commands.h"
#include "album/photo_folder.h"
#include "album/photo_placement.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>

using namespace Qt::StringLiterals;

class PhotoPlacementTest : public testing::Test {
protected:
    void SetUp() override {
        workspace.settings = Settings::defaults();
        workspace.settings.setItem(SettingItem::KindLine, SettingValue::number(2));
        workspace.settings.setItem(SettingItem::StripExtension, SettingValue::number(1));
        workspace.settings.setItem(SettingItem::FileNameLine, SettingValue::number(1));
        workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(1));
    }
    void capacity(int rows) {
        workspace.AlbumMaxRows = rows;
        workspace.SS1.setMaxRows(rows);
    }
    QString path(int row) const { return workspace.SS1.text(row, AlbumColumn::Path); }
    QString file(const QString& name) {
        writeBytes(dir.filePath(name), "x");
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(PhotoPlacementTest, SelectedFilesFillRowsFromTheCursorOverwritingInfoAndPathOnly) {
    workspace.editCell(6, AlbumColumn::Number, u"9"_s);
    workspace.editCell(6, AlbumColumn::Info, u"old\r\n"_s);
    workspace.SheetModified = 0;
    const auto result = PhotoPlacement::placeSelectedFiles(workspace, prompts, u"C:\\photos"_s,
                                                           {u"a_01.jpg"_s, u"b.jpg"_s, u"c.jpg"_s}, 5);
    EXPECT_EQ(result.placed, 3);
    EXPECT_TRUE(result.thumbnailsDue);
    EXPECT_EQ(path(5), u"C:\\photos\\a_01.jpg"_s);
    EXPECT_EQ(path(7), u"C:\\photos\\c.jpg"_s);
    EXPECT_TRUE(workspace.SS1.text(5, AlbumColumn::Info).startsWith(u"a_01\r\n近景\r\n"_s));
    EXPECT_TRUE(workspace.SS1.text(6, AlbumColumn::Info).startsWith(u"b\r\n\r\n"_s));
    EXPECT_EQ(workspace.SS1.text(6, AlbumColumn::Number), u"9"_s);
    EXPECT_EQ(workspace.FirstNewRow, 5);
    EXPECT_EQ(workspace.LastNewRow, 7);
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_EQ(workspace.AlbumRowCount, 7);
    EXPECT_TRUE(prompts.messages.isEmpty());

    workspace.undoStack.undo(); // the whole placement at once
    EXPECT_EQ(path(5), QString());
    EXPECT_EQ(workspace.SS1.text(6, AlbumColumn::Info), u"old\r\n"_s);
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(PhotoPlacementTest, TheCapacityStopsThePlacementWithTheMessageAndNoThumbnails) {
    capacity(6);
    const auto result = PhotoPlacement::placeSelectedFiles(workspace, prompts, u"/p/"_s,
                                                           {u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s}, 6);
    EXPECT_EQ(result.placed, 1);
    EXPECT_TRUE(result.capacityReached);
    EXPECT_FALSE(result.thumbnailsDue);
    EXPECT_EQ(path(6), u"/p/a.jpg"_s);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, AlbumCommands::CapacityExceeded);
    EXPECT_EQ(prompts.lastMessage().title, u"確認"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
    EXPECT_EQ(workspace.SheetModified, 1);
}

TEST_F(PhotoPlacementTest, AStopKeepsTheRowsPlacedSoFar) {
    std::atomic_bool stop = false;
    const Progress progress([&](const ProgressStep& step) { stop = step.done == 2; }, &stop);
    const auto result = PhotoPlacement::placeSelectedFiles(
        workspace, prompts, u"/p"_s, {u"a.jpg"_s, u"b.jpg"_s, u"c.jpg"_s, u"d.jpg"_s}, 1, progress);
    EXPECT_EQ(result.placed, 2);
    EXPECT_FALSE(result.capacityReached);
    EXPECT_EQ(workspace.AlbumRowCount, 2);
    EXPECT_EQ(workspace.LastNewRow, 2);
    EXPECT_TRUE(result.thumbnailsDue);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text,
              u"中止しました。選んだ 4 枚のうち 2 枚を 1～2 行目に置きました。"_s);

    PhotoPlacement::Plan none;
    none.stopped = true;
    EXPECT_EQ(PhotoPlacement::stoppedText(none, 5), u"中止しました。写真は置いていません。"_s);
}

TEST_F(PhotoPlacementTest, ADropPlacesPicturesOfTheListPatternInTheOrderGiven) {
    const QList<QUrl> urls = {QUrl::fromLocalFile(file(u"a.JPG"_s)), QUrl::fromLocalFile(file(u"b.txt"_s)),
                              QUrl::fromLocalFile(dir.path()),       QUrl(u"https://example.org/x.jpg"_s),
                              QUrl::fromLocalFile(file(u"c.gif"_s)), QUrl::fromLocalFile(file(u"d.jpeg"_s))};
    const auto result = PhotoPlacement::dropFiles(workspace, prompts, urls, 2);
    EXPECT_EQ(result.placed, 3);
    EXPECT_EQ(path(2), dir.filePath(u"a.JPG"_s));
    EXPECT_EQ(path(3), dir.filePath(u"c.gif"_s));
    EXPECT_EQ(path(4), dir.filePath(u"d.jpeg"_s));
    EXPECT_EQ(workspace.FirstNewRow, 2);
    EXPECT_EQ(workspace.LastNewRow, 4);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(PhotoPlacementTest, ADropWithoutPicturesChangesNothing) {
    const auto result =
        PhotoPlacement::dropFiles(workspace, prompts, {QUrl::fromLocalFile(file(u"n.txt"_s))}, 1);
    EXPECT_EQ(result.placed, 0);
    EXPECT_FALSE(result.thumbnailsDue);
    EXPECT_FALSE(workspace.undoStack.canUndo());
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(PhotoPlacementTest, ADropAtTheCapacityPlacesWhatFitsAndStillMakesThumbnails) {
    capacity(3);
    const auto result = PhotoPlacement::dropFiles(
        workspace, prompts, {QUrl::fromLocalFile(file(u"a.jpg"_s)), QUrl::fromLocalFile(file(u"b.bmp"_s))},
        3);
    EXPECT_EQ(result.placed, 1);
    EXPECT_TRUE(result.thumbnailsDue);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, AlbumCommands::CapacityExceeded);
}

TEST(PhotoFolder, ListsPicturesOfThePatternInNaturalOrderInAnyLetterCase) {
    QTemporaryDir dir;
    for (const char* name : {"P10.jpg", "p2.JPG", "P1.jpeg", "a.BMP", "b.gif", "c.ico", "d.cur", "e.png",
                             "f.txt", "jpg", ".jpg.txt"})
        writeBytes(dir.filePath(QString::fromLatin1(name)), "x");
    QDir(dir.path()).mkdir(u"sub.jpg"_s);
    EXPECT_EQ(PhotoFolder::pictures(dir.path()), (QStringList{u"a.BMP"_s, u"b.gif"_s, u"c.ico"_s, u"d.cur"_s,
                                                              u"P1.jpeg"_s, u"p2.JPG"_s, u"P10.jpg"_s}));
    EXPECT_EQ(PhotoFolder::subfolders(dir.path()), QStringList{u"sub.jpg"_s});
    EXPECT_TRUE(PhotoFolder::pictures(dir.filePath(u"missing"_s)).isEmpty());
}
