#include "classified_fixture.h"
#include "shell/ui/main_window.h"
#include "support/scripted_prompts.h"
#include "survey/classified_commands.h"
#include "survey/ui/classified_import_dialog.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class ClassifiedDialogTest : public ClassifiedFixture {
protected:
    void SetUp() override {
        workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(0));
        workspace.settings.setItem(SettingItem::ImportKeyKind, SettingValue::number(0));
        csv = writeCsv({line(u"1"_s, u"A"_s, u"SA"_s, u"n1.jpg"_s, u"f1.jpg"_s),
                        line(u"2"_s, u"B"_s, u"SB"_s, u"n2.jpg"_s, u"f2.jpg"_s),
                        line(u"3"_s, u"C"_s, u"SC"_s, u"n3.jpg"_s, u"f3.jpg"_s),
                        line(u"4"_s, u"D"_s, u"SD"_s, u"n4.jpg"_s, u"f4.jpg"_s)});
    }
    void click(QWidget* parent, const QString& name) {
        auto* button = parent->findChild<QAbstractButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        ASSERT_TRUE(button->isEnabled()) << name.toStdString();
        button->click();
    }
    DialogImp* dialog() const { return window.findChild<DialogImp*>(); }
    QTableWidget* grid() const { return dialog()->findChild<QTableWidget*>(u"SSImp"_s); }
    void selectRows(int top, int bottom) {
        const QItemSelection rows(grid()->model()->index(top - 1, 0), grid()->model()->index(bottom - 1, 3));
        grid()->selectionModel()->select(rows, QItemSelectionModel::Select);
    }
    QStringList column(int c) const {
        QStringList texts;
        for (int r = 0; r < grid()->rowCount(); ++r)
            texts << grid()->item(r, c)->text();
        return texts;
    }

    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    frmMain window{workspace, prompts};
    QString csv;
};

TEST_F(ClassifiedDialogTest, Import1AsksBeforeClearingAndOpensOneWindow) {
    workspace.replaceRows(u"fill"_s, {AlbumRow{{}, u"old\r\n"_s, {}, u"/old.jpg"_s}}, 0);
    prompts.answers.push_back(Answer::No);
    click(&window, u"Command6"_s);
    EXPECT_EQ(prompts.lastMessage().text,
              u"現在のデータが失われます。　データをすべてクリアーして良いですか？　"_s);
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(workspace.AlbumRowCount, 1);

    prompts.answers.push_back(Answer::Yes);
    click(&window, u"Command6"_s);
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(dialog()->isVisible());
    EXPECT_FALSE(dialog()->isModal());
    EXPECT_EQ(workspace.AlbumRowCount, 0);
    click(&window, u"Command6"_s);
    EXPECT_EQ(window.findChildren<DialogImp*>().size(), 1);
    EXPECT_EQ(prompts.messages.size(), 2);
}

TEST_F(ClassifiedDialogTest, ChooseEditImportInSelectionOrderAndClose) {
    click(&window, u"Command6"_s);
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(dialog()->findChild<QRadioButton*>(u"Opt1(0)"_s)->isChecked());

    prompts.openPaths.push_back(csv);
    click(dialog(), u"Command1"_s);
    EXPECT_EQ(prompts.fileRequests.constLast().title, u"CSVファイルを開く"_s);
    EXPECT_EQ(column(0), (QStringList{u"A"_s, u"B"_s, u"C"_s, u"D"_s}));
    EXPECT_EQ(dialog()->findChild<QLabel*>(u"Label1"_s)->text(), folder());
    EXPECT_EQ(dialog()->findChild<QLabel*>(u"Stb2Panel1"_s)->text(), ClassifiedCommands::ChooseGroups);

    grid()->item(0, 1)->setText(u"新しいシート"_s);
    selectRows(3, 4);
    selectRows(1, 1);
    click(dialog(), u"OKButton"_s);
    ASSERT_EQ(workspace.AlbumRowCount, 6);
    EXPECT_TRUE(workspace.SS1.text(1, 2).startsWith(u"3\r\n"_s));
    EXPECT_TRUE(workspace.SS1.text(5, 2).endsWith(u"\r\n新しいシート\r\n"_s));
    EXPECT_EQ(column(3), (QStringList{u"1"_s, {}, u"1"_s, u"1"_s}));
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_TRUE(dialog()->isVisible());

    // Nothing selected: told, the album stays.
    grid()->clearSelection();
    click(dialog(), u"OKButton"_s);
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::NoGroupSelected);
    EXPECT_EQ(workspace.AlbumRowCount, 6);

    // A header-only CSV empties the list.
    prompts.openPaths.push_back(writeCsv({}, u"empty.csv"_s));
    click(dialog(), u"Command1"_s);
    EXPECT_EQ(grid()->rowCount(), 0);

    click(dialog(), u"Opt1(1)"_s);
    click(dialog(), u"Command3"_s);
    EXPECT_EQ(workspace.settings.itemNumber(SettingItem::ImportKeyKind), -1);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog(), nullptr);
}

TEST_F(ClassifiedDialogTest, AFileThatCannotBeReadLeavesTheListAndCancelClosesTheWindow) {
    click(&window, u"Command6"_s);
    prompts.openPaths.push_back(csv);
    click(dialog(), u"Command1"_s);
    prompts.openPaths.push_back(path(u"gone.csv"_s));
    click(dialog(), u"Command1"_s);
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"gone.csv"_s));
    EXPECT_EQ(grid()->rowCount(), 4);
    EXPECT_EQ(dialog()->data().lineCount(), 4);

    const QList<AlbumRow> album = workspace.SS1.rows();
    click(dialog(), u"CancelButton"_s);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog(), nullptr);
    EXPECT_EQ(workspace.SS1.rows(), album);
}
