#include "album/photo_info.h"
#include "album/row_editing.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace PhotoInfo;

namespace {

QStringList nineteen(const QString& prefix) {
    QStringList lines;
    for (int n = 1; n <= LineCount; ++n)
        lines << prefix + QString::number(n);
    return lines;
}

} // namespace

class PhotoInfoTest : public testing::Test {
protected:
    void SetUp() override {
        QList<AlbumRow> rows;
        for (int r = 1; r <= 4; ++r) {
            AlbumRow row;
            row.path = QString::number(r) + u".jpg"_s;
            rows << row;
        }
        workspace.replaceRows(u"test"_s, rows, 0);
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(PhotoInfoTest, EightLineCellComesBackAsNineteenLines) {
    const QString eight = u"一\r\n二\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"_s;
    const QStringList lines = linesOf(eight);
    ASSERT_EQ(lines.size(), LineCount);
    EXPECT_EQ(lines.at(7), u"八"_s);
    EXPECT_EQ(lines.at(8), QString());
    const QString text = cellText(lines);
    EXPECT_TRUE(text.startsWith(eight));
    EXPECT_EQ(text.count(u"\r\n"_s), 19);
    EXPECT_EQ(linesOf(text), lines);

    ASSERT_TRUE(writeBack(workspace, workspace.SS1.rowId(2), 2, lines));
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info), text);
    EXPECT_EQ(workspace.PreviousInfo, text);
    EXPECT_EQ(workspace.SheetModified, 1);
    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info), QString());
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(PhotoInfoTest, WriteBackFollowsItsRowOrRefuses) {
    const quint64 id = workspace.SS1.rowId(3);
    RowEditing::InsertRow(workspace, prompts, 1);
    prompts.answers.push_back(Prompts::Answer::Yes);
    RowEditing::DeleteRows(workspace, prompts, 2, 2);
    workspace.SS1.setText(3, AlbumColumn::Number, u"1"_s);
    workspace.SS1.setText(1, AlbumColumn::Number, u"2"_s);
    prompts.answers.push_back(Prompts::Answer::Yes);
    RowEditing::ReorderByNumber(workspace, prompts);
    ASSERT_EQ(workspace.SS1.text(1, AlbumColumn::Path), u"3.jpg"_s);

    ASSERT_TRUE(writeBack(workspace, id, 3, nineteen(u"a"_s)));
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), cellText(nineteen(u"a"_s)));

    prompts.answers.push_back(Prompts::Answer::Yes);
    RowEditing::DeleteRows(workspace, prompts, 1, 1);
    const QList<AlbumRow> before = workspace.SS1.rows();
    EXPECT_FALSE(writeBack(workspace, id, 3, nineteen(u"b"_s)));
    EXPECT_EQ(workspace.SS1.rows(), before);
    EXPECT_EQ(workspace.PreviousInfo, cellText(nineteen(u"a"_s)));

    // Undoing the delete brings the row, and the dialog's hold on it, back.
    workspace.undoStack.undo();
    EXPECT_TRUE(writeBack(workspace, id, 3, nineteen(u"c"_s)));
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), cellText(nineteen(u"c"_s)));
}

TEST_F(PhotoInfoTest, AnEmptyRowBeyondTheAlbumIsWrittenOnlyWhileStillEmpty) {
    EXPECT_EQ(workspace.SS1.rowId(6), 0u);
    EXPECT_TRUE(writeBack(workspace, 0, 6, nineteen(u"x"_s)));
    EXPECT_EQ(workspace.SS1.dataRowCount(), 6);
    EXPECT_FALSE(writeBack(workspace, 0, 5, nineteen(u"y"_s)));
}

TEST_F(PhotoInfoTest, SixDistinctTitlesKeepTheFiveNewest) {
    Settings& settings = workspace.settings;
    for (int n = 1; n <= 6; ++n) {
        QStringList lines(LineCount);
        lines[9] = u"題"_s + QString::number(n);
        lines[18] = u"管理値"_s;
        rememberItems(settings, lines);
    }
    EXPECT_EQ(history(settings, 1), (QStringList{u"題6"_s, u"題5"_s, u"題4"_s, u"題3"_s, u"題2"_s}));
    EXPECT_EQ(settings.text(101 + 5), u"題6"_s);
    EXPECT_EQ(history(settings, 10), QStringList{u"管理値"_s});
    EXPECT_EQ(settings.text(176), u"管理値"_s);

    // A title already listed is not added again, wherever it is.
    QStringList again(LineCount);
    again[9] = u"題3"_s;
    rememberItems(settings, again);
    EXPECT_EQ(history(settings, 1).size(), 5);
    EXPECT_EQ(settings.text(106), u"題6"_s);
}

TEST_F(PhotoInfoTest, DotAndPhraseRulesOfTheFreeLines) {
    PhraseBook phrases;
    phrases.setPhrase(3, u"境界標"_s);
    phrases.setPhrase(500, u"最後"_s);
    EXPECT_EQ(applyLineRules(u"*3"_s, 1, {}, phrases), u"境界標"_s);
    EXPECT_EQ(applyLineRules(u"*4"_s, 1, {}, phrases), QString());
    EXPECT_EQ(applyLineRules(u"*500"_s, 1, {}, phrases), u"最後"_s);
    EXPECT_EQ(applyLineRules(u"*501"_s, 1, {}, phrases), u"501"_s);
    EXPECT_EQ(applyLineRules(u"*abc"_s, 1, {}, phrases), u"0"_s);
    EXPECT_EQ(applyLineRules(u"."_s, 1, u"上"_s, phrases), u"."_s);
    EXPECT_EQ(applyLineRules(u"."_s, 2, u"上"_s, phrases), u"上"_s);
    EXPECT_EQ(applyLineRules(u"."_s, 2, u"*3"_s, phrases), u"境界標"_s);
    EXPECT_EQ(applyLineRules(u"a*3"_s, 2, {}, phrases), u"a*3"_s);
    // Where typed text is kept as it is, only 1..500 recall.
    EXPECT_EQ(phrases.recall(u"*3"_s), u"境界標"_s);
    for (const QString& kept : {u"*0"_s, u"*501"_s, u"*abc"_s, u"3"_s})
        EXPECT_FALSE(phrases.recall(kept).has_value()) << kept.toStdString();
}

TEST_F(PhotoInfoTest, CopyPreviousAndRequiredItems) {
    const QString previous = cellText(nineteen(u"p"_s)).replace(u"p12\r\n"_s, u"\r\n"_s);
    const QStringList mine = nineteen(u"m"_s);
    const QStringList items = copyPrevious(mine, previous, false);
    EXPECT_EQ(items.mid(0, FreeLines), mine.mid(0, FreeLines));
    EXPECT_EQ(items.at(8), u"p9"_s);
    EXPECT_EQ(items.at(11), QString()); // an empty item is copied too
    EXPECT_EQ(copyPrevious(mine, previous, true).mid(0, LineCount), linesOf(previous));

    // 提出頻度写真 follows the previous photo; 代表写真 marks one photo and stays.
    QStringList flagged = nineteen(u"p"_s) << u"1"_s << u"1"_s;
    QStringList unflagged = nineteen(u"m"_s) << u"0"_s << QString();
    const QStringList copied = copyPrevious(unflagged, cellText(flagged), false);
    EXPECT_EQ(copied.at(RepresentativeLine - 1), u"0"_s);
    EXPECT_EQ(copied.at(FrequencyLine - 1), u"1"_s);

    workspace.settings.setItem(SettingItem::DeliveryChecks, SettingValue::number(1));
    EXPECT_TRUE(requiredItemsMissing(workspace.settings, items));
    EXPECT_FALSE(requiredItemsMissing(workspace.settings, mine));
    workspace.settings.setItem(SettingItem::DeliveryChecks, SettingValue::number(0));
    EXPECT_FALSE(requiredItemsMissing(workspace.settings, items));
}

TEST(PhotoZoom, LeftClicksZoomOnThePointAndRightClickResets) {
    Zoom zoom;
    QList<int> steps;
    for (int i = 0; i < 6; ++i) {
        zoom.zoomInAt(188, 140.5);
        steps << zoom.percent();
    }
    EXPECT_EQ(steps, (QList<int>{300, 500, 700, 900, 1000, 1000}));
    // Clicking the centre keeps the picture's centre in the middle of the view.
    EXPECT_EQ(zoom.drawRect(), QRect(-1692, -1265, 3760, 2810));

    zoom.reset();
    zoom.zoomInAt(288, 140.5); // 100 px right of the centre comes to the centre
    EXPECT_EQ(zoom.drawRect(), QRect(-676, -281, 1128, 843));
    zoom.reset();
    EXPECT_EQ(zoom.drawRect(), QRect(QPoint(0, 0), Zoom::ViewSize));
}
