#include "workspace/album_sheet.h"
#include "workspace/workspace.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(AlbumSheet, DataRowCountIsTheLastRowHoldingAnything) {
    AlbumSheet sheet;
    EXPECT_EQ(sheet.dataRowCount(), 0);
    sheet.setText(5, AlbumColumn::Number, u"1"_s);
    EXPECT_EQ(sheet.dataRowCount(), 5);
    sheet.setPicture(7, QImage(4, 3, QImage::Format_RGB32));
    EXPECT_EQ(sheet.dataRowCount(), 7);
    sheet.clearBlock(6, 7);
    EXPECT_EQ(sheet.dataRowCount(), 5);
    sheet.setText(5, AlbumColumn::Number, QString());
    EXPECT_EQ(sheet.dataRowCount(), 0);
    EXPECT_EQ(sheet.text(3, AlbumColumn::Info), QString());
}

TEST(AlbumSheet, NothingIsWrittenBeyondTheCapacity) {
    AlbumSheet sheet;
    sheet.setMaxRows(3);
    sheet.setText(4, AlbumColumn::Path, u"x.jpg"_s);
    EXPECT_EQ(sheet.dataRowCount(), 0);
    sheet.setText(3, AlbumColumn::Path, u"c.jpg"_s);
    sheet.setText(1, AlbumColumn::Path, u"a.jpg"_s);
    sheet.insertRowAt(1); // the last row is pushed out
    EXPECT_EQ(sheet.text(2, AlbumColumn::Path), u"a.jpg"_s);
    EXPECT_EQ(sheet.dataRowCount(), 2);
    sheet.setMaxRows(1);
    EXPECT_EQ(sheet.dataRowCount(), 0);
    EXPECT_EQ(sheet.rowCount(), 1);
}

TEST(AlbumSheet, InsertAndDeleteShiftTheRowsBelow) {
    AlbumSheet sheet;
    for (int r = 1; r <= 4; ++r)
        sheet.setText(r, AlbumColumn::Path, QString::number(r));
    sheet.insertRowAt(2);
    EXPECT_EQ(sheet.text(2, AlbumColumn::Path), QString());
    EXPECT_EQ(sheet.text(3, AlbumColumn::Path), u"2"_s);
    EXPECT_EQ(sheet.dataRowCount(), 5);
    sheet.deleteRowAt(2);
    sheet.deleteRowAt(4);
    EXPECT_EQ(sheet.dataRowCount(), 3);
    EXPECT_EQ(sheet.text(2, AlbumColumn::Path), u"2"_s);
}

TEST(AlbumSheet, ColourBandsAlternateEveryThreeRowsWithinTheCapacity) {
    EXPECT_EQ(AlbumSheet::bandColor(1, 1000), AlbumSheet::YellowBand);
    EXPECT_EQ(AlbumSheet::bandColor(3, 1000), AlbumSheet::YellowBand);
    EXPECT_EQ(AlbumSheet::bandColor(4, 1000), AlbumSheet::GreenBand);
    EXPECT_EQ(AlbumSheet::bandColor(7, 1000), AlbumSheet::YellowBand);
    EXPECT_EQ(AlbumSheet::bandColor(12, 1000), AlbumSheet::GreenBand);
    EXPECT_FALSE(AlbumSheet::bandColor(1, 1)); // a capacity of 1 colours nothing
    EXPECT_TRUE(AlbumSheet::bandColor(3, 2));
    EXPECT_FALSE(AlbumSheet::bandColor(4, 4)); // a band must start below the capacity
    EXPECT_EQ(AlbumSheet::YellowBand, QColor(255, 255, 192));
    EXPECT_EQ(AlbumSheet::GreenBand, QColor(192, 255, 192));
}

TEST(AlbumSheet, ShowsHeadersAndInformationLinesAndTheNumberNote) {
    AlbumSheet sheet;
    sheet.setText(1, AlbumColumn::Info, u"a\r\nb\r\n"_s);
    EXPECT_EQ(sheet.data(sheet.index(0, 1), Qt::DisplayRole).toString(), u"a\nb\n"_s);
    EXPECT_EQ(sheet.data(sheet.index(0, 1), Qt::EditRole).toString(), u"a\r\nb\r\n"_s);
    EXPECT_EQ(sheet.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"写真"_s);
    EXPECT_EQ(sheet.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"情報"_s);
    EXPECT_EQ(sheet.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), u" "_s);
    EXPECT_EQ(sheet.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), u"ファイル名"_s);
    EXPECT_EQ(sheet.headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(),
              u"クリックする毎に番号が付加されます。並替ボタンを押して写真の入替えが出来ます。"_s);
    EXPECT_FALSE(sheet.flags(sheet.index(0, 0)) & Qt::ItemIsEditable);
}

TEST(Workspace, TypedCellsAreUndoableAndMarkTheAlbumModified) {
    Workspace workspace(QString{});
    QString panel;
    QObject::connect(&workspace, &Workspace::rowTotalChanged, [&](const QString& text) { panel = text; });

    workspace.SS1.setData(workspace.SS1.index(1, 3), u"/p/b.jpg"_s, Qt::EditRole);
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Path), u"/p/b.jpg"_s);
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_EQ(workspace.AlbumRowCount, 2);
    EXPECT_EQ(panel, u"Data総数=2"_s);

    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.dataRowCount(), 0);
    EXPECT_EQ(workspace.SheetModified, 0);
    EXPECT_EQ(panel, u"Data総数=0"_s);
}

TEST(Workspace, UndoAfterASaveLeavesTheAlbumModified) {
    Workspace workspace(QString{});
    QList<AlbumRow> rows(1);
    rows[0].path = u"a.jpg"_s;
    workspace.replaceRows(u"Import2"_s, rows, 1);
    workspace.replaceRows(u"新規"_s, {}, 0);
    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SheetModified, 1); // as before the clear

    workspace.markSaved();
    workspace.undoStack.undo(); // the sheet now differs from the saved file
    EXPECT_EQ(workspace.SS1.dataRowCount(), 0);
    EXPECT_EQ(workspace.SheetModified, 1);
    workspace.undoStack.redo();
    EXPECT_EQ(workspace.SheetModified, 1);
}

TEST(Workspace, ClearingCellsIsOneUndoableCommandThatKeepsPictures) {
    Workspace workspace(QString{});
    QList<AlbumRow> rows(2);
    rows[0] = {QImage(2, 2, QImage::Format_RGB32), u"a\r\n"_s, u"1"_s, u"/a.jpg"_s};
    rows[1].path = u"/b.jpg"_s;
    workspace.replaceRows(u"fill"_s, rows, 0);

    workspace.clearCells({QPoint(1, AlbumColumn::Picture), QPoint(1, AlbumColumn::Info),
                          QPoint(2, AlbumColumn::Path), QPoint(9, AlbumColumn::Path)});
    EXPECT_FALSE(workspace.SS1.picture(1).isNull());
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), QString());
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Number), u"1"_s);
    EXPECT_EQ(workspace.AlbumRowCount, 1);
    EXPECT_EQ(workspace.SheetModified, 1);

    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.rows(), rows);
    EXPECT_EQ(workspace.SheetModified, 0);
    workspace.clearCells({QPoint(5, AlbumColumn::Info)}); // nothing to clear: no command
    EXPECT_TRUE(workspace.undoStack.canRedo());
}

// Thumbnails are drawn after the command that placed the photos; undo and redo keep them.
TEST(Workspace, ThumbnailsDrawnAfterACommandSurviveUndoAndRedo) {
    Workspace workspace(QString{});
    AlbumRow first;
    first.path = u"/p/a.jpg"_s;
    workspace.replaceRows(u"place"_s, {first}, 1);
    QImage thumbnail(8, 6, QImage::Format_RGB32);
    thumbnail.fill(Qt::red);
    workspace.SS1.setPicture(1, thumbnail);

    QList<AlbumRow> more = workspace.SS1.rows();
    AlbumRow second;
    second.path = u"/p/b.jpg"_s;
    more << second;
    workspace.replaceRows(u"place"_s, more, 1);
    workspace.SS1.setPicture(2, thumbnail);

    workspace.undoStack.undo();
    EXPECT_FALSE(workspace.SS1.picture(1).isNull());
    workspace.undoStack.redo();
    EXPECT_FALSE(workspace.SS1.picture(1).isNull());
    EXPECT_FALSE(workspace.SS1.picture(2).isNull());
}
