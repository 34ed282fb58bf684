#include "shell/ui/info_cell_delegate.h"
#include "workspace/workspace.h"

#include <QPlainTextEdit>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(InfoCellDelegate, EditingKeepsCrLfLineEndingsAndAnUntouchedCellAsItWas) {
    Workspace workspace(QString{});
    // A lone CR and a CR LF: the editor shows both as line breaks.
    workspace.SS1.setText(1, AlbumColumn::Info, u"No.1\r\n近景\r"_s);
    const QModelIndex cell = workspace.SS1.index(0, AlbumColumn::Info - 1);
    InfoCellDelegate delegate;
    QWidget parent;
    QWidget* editor = delegate.createEditor(&parent, QStyleOptionViewItem(), cell);
    auto* text = qobject_cast<QPlainTextEdit*>(editor);
    ASSERT_NE(text, nullptr);

    delegate.setEditorData(editor, cell);
    EXPECT_EQ(text->toPlainText(), u"No.1\n近景\n"_s);
    delegate.setModelData(editor, &workspace.SS1, cell);
    EXPECT_FALSE(workspace.undoStack.canUndo());
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), u"No.1\r\n近景\r"_s);
    EXPECT_EQ(workspace.SheetModified, 0);

    text->setPlainText(u"No.1\n遠景\n"_s);
    delegate.setModelData(editor, &workspace.SS1, cell);
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), u"No.1\r\n遠景\r\n"_s);
    EXPECT_EQ(workspace.SheetModified, 1);
}
