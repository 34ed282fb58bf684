#include "album/album_file.h"
#include "album/blackboard_lines.h"
#include "album/photo_info.h"
#include "album/photo_placement.h"
#include "support/batch_run.h"
#include "support/blackboard_photos.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Lines 10..21 of the sample blackboard, as placed.
const QStringList SampleLines{u"床掘完了"_s,
                              u"左岸側から撮影"_s,
                              u"工事"_s,
                              u"2024-06-01"_s,
                              u"施工状況写真"_s,
                              u"道路土工"_s,
                              u"掘削工"_s,
                              u"床掘"_s,
                              u"No.12+5.0"_s,
                              u"幅 設計 3.00m 実測 3.02m、深さ 実測 1.20m"_s,
                              u"1"_s,
                              u"0"_s};

class BlackboardLinesTest : public testing::Test {
protected:
    void SetUp() override {
        workspace.settings = Settings::defaults();
        workspace.settings.setItem(SettingItem::FileNameLine, SettingValue::number(1));
    }
    QString blackboardPhoto(const QString& name) {
        return writeBlackboardJpeg(
            dir.filePath(name),
            {exifDateBody(u"2024:06:01 09:30:00"_s), xmpBody(blackboardPacket(BlackboardLayout::Elements))});
    }
    QString plainPhoto(const QString& name) { return writeBlackboardJpeg(dir.filePath(name), {}); }
    QStringList lines(int row) const {
        return PhotoInfo::allLinesOf(workspace.SS1.text(row, AlbumColumn::Info));
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST(BlackboardMeasurements, ItemsReadAsOneLineWithEmptyPartsLeftOut) {
    EXPECT_EQ(BlackboardLines::measurementText({{u"幅"_s, {}, u"3.00"_s, u"3.02"_s, u"m"_s, {}},
                                                {u"深さ"_s, {}, {}, u"1.20"_s, u"m"_s, {}},
                                                {u"勾配"_s, {}, {}, {}, {}, {}},
                                                {{}, {}, {}, {}, {}, {}}}),
              u"幅 設計 3.00m 実測 3.02m、深さ 実測 1.20m、勾配"_s);
    EXPECT_EQ(BlackboardLines::measurementText({}), QString());
}

TEST_F(BlackboardLinesTest, PlacingFillsOnlyLines10To21AndUndoTakesThemAway) {
    const QString photo = blackboardPhoto(u"P001.jpg"_s);
    PhotoPlacement::placePaths(workspace, u">>"_s, {photo, plainPhoto(u"P002.jpg"_s)}, 1);
    const QStringList placed = lines(1);
    EXPECT_EQ(placed.at(0), u"P001"_s); // from the path, as before
    EXPECT_EQ(placed.mid(9), SampleLines);
    EXPECT_EQ(lines(2).mid(9), QStringList(12));
    EXPECT_TRUE(workspace.SS1.text(1, AlbumColumn::Info).endsWith(u"1\r\n0\r\n"_s));

    workspace.undoStack.undo();
    EXPECT_TRUE(workspace.SS1.text(1, AlbumColumn::Info).isEmpty());

    workspace.FillFromBlackboard = false;
    PhotoPlacement::placePaths(workspace, u">>"_s, {photo}, 1);
    EXPECT_EQ(lines(1).at(0), u"P001"_s);
    EXPECT_EQ(lines(1).mid(9), QStringList(12));
}

TEST_F(BlackboardLinesTest, TheEditCommandFillsEmptyLinesOnlyAsOneUndoStep) {
    const QString photo = blackboardPhoto(u"P001.jpg"_s);
    QStringList typed(PhotoInfo::AllLineCount);
    typed[9] = u"手で直した題"_s; // a line holding text is never overwritten
    typed[19] = u"0"_s;
    QList<AlbumRow> rows(4);
    rows[0].path = photo;
    rows[0].info = PhotoInfo::cellText(typed);
    rows[1].path = plainPhoto(u"P002.jpg"_s);
    rows[2].path = writeBlackboardJpeg(dir.filePath(u"P003.jpg"_s), {xmpBody("<x:xmpmeta")});
    rows[3].path = photo;
    workspace.replaceRows(u"setup"_s, rows, 0);
    const int steps = workspace.undoStack.count();

    const BlackboardLines::Summary summary = BlackboardLines::importIntoSheet(workspace, {1, 2, 3});
    EXPECT_EQ(summary.filledRows, 1);
    EXPECT_EQ(summary.withoutBlackboard, 2);
    ASSERT_EQ(summary.notes.size(), 1);
    EXPECT_TRUE(summary.notes.at(0).contains(BlackboardXmp::BrokenPacket));
    const QString message = BlackboardLines::summaryText(summary);
    EXPECT_TRUE(message.startsWith(u"1 行に黒板情報を取り込みました。\r\n黒板情報のない写真: 2 枚\r\n"_s))
        << message.toStdString();
    EXPECT_EQ(lines(1).at(9), u"手で直した題"_s);
    EXPECT_EQ(lines(1).at(19), u"0"_s);
    EXPECT_EQ(lines(1).at(14), u"道路土工"_s);
    EXPECT_TRUE(workspace.SS1.text(4, AlbumColumn::Info).isEmpty()); // outside the rows asked for

    EXPECT_EQ(workspace.undoStack.count(), steps + 1);
    EXPECT_EQ(workspace.undoStack.undoText(), BlackboardLines::CommandName);
    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), PhotoInfo::cellText(typed));

    // Nothing left to fill: no step at all. No rows given: every row.
    workspace.undoStack.redo();
    EXPECT_EQ(BlackboardLines::importIntoSheet(workspace, {1}).filledRows, 0);
    EXPECT_EQ(workspace.undoStack.count(), steps + 1);
    EXPECT_EQ(BlackboardLines::importIntoSheet(workspace, {}).filledRows, 1);
    EXPECT_EQ(lines(4).at(9), u"床掘完了"_s);
}

TEST_F(BlackboardLinesTest, TextPastLine21IsNeverRewritten) {
    BlackboardReading reading;
    reading.found = true;
    reading.blackboard.title = u"床掘"_s;
    QString info = PhotoInfo::cellText(QStringList(PhotoInfo::AllLineCount, u"x"_s).mid(0, 9)) +
                   u"\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nextra\r\n"_s;
    const QString before = info;
    EXPECT_FALSE(BlackboardLines::fillInfo(info, reading));
    EXPECT_EQ(info, before);
}

TEST_F(BlackboardLinesTest, TheCommandLinePrintsItemsAndPlacesWithOrWithoutThem) {
    const QString photo = blackboardPhoto(u"P001.jpg"_s);
    const QString plain = plainPhoto(u"P002.jpg"_s);
    QString out;
    QString err;
    EXPECT_EQ(runCommand({u"blackboard"_s, photo}, dir.path(), out, err), 0) << err.toStdString();
    const QString shown = QDir::toNativeSeparators(photo);
    EXPECT_TRUE(out.startsWith(shown + u"\tConstructionName\t市道改良工事\n"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(shown + u"\tMeasurementItems[1]/DesignedValue\t3.00\n"_s));
    EXPECT_EQ(runCommand({u"blackboard"_s, photo, plain}, dir.path(), out, err), 3);
    EXPECT_TRUE(err.contains(u"黒板情報がありません"_s));
    EXPECT_EQ(runCommand({u"blackboard"_s, dir.filePath(u"none.jpg"_s)}, dir.path(), out, err), 1);

    const QString album = dir.filePath(u"a.dat"_s);
    EXPECT_EQ(runCommand({u"place"_s, album, photo}, dir.path(), out, err), 0) << err.toStdString();
    EXPECT_EQ(runCommand({u"place"_s, u"--no-blackboard"_s, album, photo}, dir.path(), out, err), 0)
        << err.toStdString();
    const QList<AlbumRow> rows = AlbumFile::load(album, 100);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(PhotoInfo::allLinesOf(rows.at(0).info).mid(9), SampleLines);
    EXPECT_EQ(PhotoInfo::allLinesOf(rows.at(1).info).mid(9), QStringList(12));
}

} // namespace
