#include "album/album_commands.h"
#include "album/row_editing.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class RowEditingTest : public testing::Test {
protected:
    // Row r holds the photo "r.jpg" with info "P r" and the given number text.
    void fill(const QStringList& numbers) {
        QList<AlbumRow> rows;
        for (int r = 1; r <= numbers.size(); ++r) {
            AlbumRow row;
            row.info = u"P"_s + QString::number(r) + u"\r\n"_s;
            row.path = QString::number(r) + u".jpg"_s;
            row.number = numbers.at(r - 1);
            row.picture = QImage(2, 2, QImage::Format_RGB32);
            row.picture.fill(r);
            rows << row;
        }
        workspace.replaceRows(u"test"_s, rows, 0);
        workspace.undoStack.clear();
    }
    QStringList column(int c) const {
        QStringList texts;
        for (int r = 1; r <= workspace.SS1.dataRowCount(); ++r)
            texts << workspace.SS1.text(r, c);
        return texts;
    }
    QStringList paths() const { return column(AlbumColumn::Path); }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(RowEditingTest, ReorderMovesNumberedPhotosIntoNumberedPlaces) {
    fill({{}, u"2"_s, {}, {}, u"1"_s, {}});
    workspace.ClickCounter = 7;
    prompts.answers.push_back(Answer::Yes);
    const QList<int> targets = RowEditing::ReorderByNumber(workspace, prompts);
    EXPECT_EQ(targets, (QList<int>{2, 5}));
    EXPECT_EQ(prompts.lastMessage().text, RowEditing::ReorderQuestion);
    EXPECT_EQ(prompts.lastMessage().title, u"並替え確認"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
    EXPECT_EQ(paths(), (QStringList{u"1.jpg"_s, u"5.jpg"_s, u"3.jpg"_s, u"4.jpg"_s, u"2.jpg"_s, u"6.jpg"_s}));
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info), u"P5\r\n"_s);
    EXPECT_EQ(column(AlbumColumn::Number).join(QString()), QString());
    EXPECT_EQ(workspace.ClickCounter, 0);
    EXPECT_EQ(workspace.SheetModified, 1);

    workspace.undoStack.undo();
    EXPECT_EQ(paths().at(1), u"2.jpg"_s);
    EXPECT_EQ(workspace.SS1.text(5, AlbumColumn::Number), u"1"_s);
    EXPECT_EQ(workspace.ClickCounter, 7);
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(RowEditingTest, ReorderKeysAreNumericAndTiesKeepRowOrder) {
    fill({u"10001"_s, u"1"_s, u"-3"_s, u"9999"_s, u"1"_s, u"2.6"_s, u"x"_s, u"0.4"_s});
    prompts.answers.push_back(Answer::Yes);
    RowEditing::ReorderByNumber(workspace, prompts);
    // Rows 7 ("x") and 8 (0.4 rounds to 0) are not numbered and stay.
    EXPECT_EQ(paths(), (QStringList{u"3.jpg"_s, u"2.jpg"_s, u"5.jpg"_s, u"6.jpg"_s, u"4.jpg"_s, u"1.jpg"_s,
                                    u"7.jpg"_s, u"8.jpg"_s}));
    EXPECT_EQ(workspace.SS1.text(7, AlbumColumn::Number), u"x"_s);
}

TEST_F(RowEditingTest, ReorderThumbnailsTravelWithTheirPhotos) {
    fill({u"2"_s, u"1"_s});
    const QImage first = workspace.SS1.picture(1);
    prompts.answers.push_back(Answer::Yes);
    RowEditing::ReorderByNumber(workspace, prompts);
    EXPECT_EQ(workspace.SS1.picture(2), first);
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Path), u"1.jpg"_s);
}

TEST_F(RowEditingTest, ReorderAnsweredNoOnlyClearsTheNumbers) {
    fill({u"3"_s, {}, u"1"_s});
    workspace.ClickCounter = 3;
    prompts.answers.push_back(Answer::No);
    EXPECT_TRUE(RowEditing::ReorderByNumber(workspace, prompts).isEmpty());
    EXPECT_EQ(paths(), (QStringList{u"1.jpg"_s, u"2.jpg"_s, u"3.jpg"_s}));
    EXPECT_EQ(column(AlbumColumn::Number), (QStringList{{}, {}, {}}));
    EXPECT_EQ(workspace.ClickCounter, 0);
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(RowEditingTest, ReorderWithoutNumbersAsksNothing) {
    fill({{}, u"abc"_s});
    EXPECT_TRUE(RowEditing::ReorderByNumber(workspace, prompts).isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(workspace.undoStack.count(), 0);
}

TEST_F(RowEditingTest, FirstLineNumberingFollowsNaturalOrder) {
    fill({{}, {}, {}, {}, {}, u"x"_s, {}});
    const QStringList firstLines = {u"P10"_s, u"P2"_s, u"P1"_s, u"No.7"_s, u"Ｐ１"_s, QString(), u"P2"_s};
    QList<AlbumRow> rows = workspace.SS1.rows();
    for (int r = 0; r < rows.size(); ++r)
        rows[r].info = firstLines.at(r) + u"\r\n二行目\r\n"_s;
    workspace.replaceRows(u"test"_s, rows, 0);
    workspace.ClickCounter = 4;
    RowEditing::NumberByFirstLine(workspace);
    // No.7 sorts before the P names; full-width digits are plain characters, after ASCII.
    EXPECT_EQ(column(AlbumColumn::Number),
              (QStringList{u"5"_s, u"3"_s, u"2"_s, u"1"_s, u"6"_s, u"x"_s, u"4"_s}));
    EXPECT_EQ(workspace.ClickCounter, 4);
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(RowEditingTest, DeleteAsksForTheRangeAndClosesTheGap) {
    fill({{}, {}, {}, {}, {}, {}, {}, {}, {}});
    prompts.answers.push_back(Answer::No);
    EXPECT_FALSE(RowEditing::DeleteRows(workspace, prompts, 4, 6));
    EXPECT_EQ(prompts.lastMessage().text, u"4～6のデータを削除します。"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"削除確認"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Information);
    EXPECT_EQ(workspace.SS1.dataRowCount(), 9);

    prompts.answers.push_back(Answer::Yes);
    EXPECT_TRUE(RowEditing::DeleteRows(workspace, prompts, 4, 6));
    EXPECT_EQ(paths(), (QStringList{u"1.jpg"_s, u"2.jpg"_s, u"3.jpg"_s, u"7.jpg"_s, u"8.jpg"_s, u"9.jpg"_s}));
    EXPECT_EQ(workspace.AlbumRowCount, 6);
    EXPECT_EQ(workspace.SheetModified, 1);
    // The former row 7 now lies in the second (green) band.
    EXPECT_EQ(workspace.SS1.data(workspace.SS1.index(3, 0), Qt::BackgroundRole).value<QColor>(),
              AlbumSheet::GreenBand);

    // A range running past the last photo deletes what is there.
    prompts.answers.push_back(Answer::Yes);
    RowEditing::DeleteRows(workspace, prompts, 5, 20);
    EXPECT_EQ(paths(), (QStringList{u"1.jpg"_s, u"2.jpg"_s, u"3.jpg"_s, u"7.jpg"_s}));
    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.dataRowCount(), 6);
}

TEST_F(RowEditingTest, InsertStopsAtCapacity) {
    fill({{}, {}, {}});
    RowEditing::InsertRow(workspace, prompts, 2);
    EXPECT_EQ(paths(), (QStringList{u"1.jpg"_s, QString(), u"2.jpg"_s, u"3.jpg"_s}));
    EXPECT_EQ(workspace.SheetModified, 1);

    workspace.AlbumMaxRows = 4;
    workspace.SS1.setMaxRows(4);
    RowEditing::InsertRow(workspace, prompts, 1);
    EXPECT_EQ(prompts.lastMessage().text, u"これ以上行を挿入できません。"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
    EXPECT_EQ(paths().size(), 4);
}

TEST_F(RowEditingTest, ClickNumbersContinueAcrossNewAndUndoTakesTheCountBack) {
    fill({{}, {}, {}});
    RowEditing::NumberByClick(workspace, 3);
    RowEditing::NumberByClick(workspace, 1);
    RowEditing::NumberByClick(workspace, 3); // overwrites
    EXPECT_EQ(column(AlbumColumn::Number), (QStringList{u"2"_s, {}, u"3"_s}));
    EXPECT_EQ(workspace.SheetModified, 0);
    workspace.undoStack.undo();
    EXPECT_EQ(workspace.ClickCounter, 2);
    EXPECT_EQ(workspace.SS1.text(3, AlbumColumn::Number), u"1"_s);

    AlbumCommands::NewAlbum(workspace, prompts);
    RowEditing::NumberByClick(workspace, 1);
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Number), u"3"_s);
}
