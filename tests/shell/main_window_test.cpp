#include "album/album_file.h"
#include "shell/command_line.h"
#include "shell/ui/main_window.h"
#include "support/photo_files.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/phrase_book.h"
#include "workspace/settings_file.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class MainWindowTest : public testing::Test {
protected:
    void click(const QString& name) {
        auto* button = window.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name.toStdString();
        ASSERT_TRUE(button->isEnabled()) << name.toStdString();
        button->click();
    }
    QString panel(int n) const {
        return window.findChild<QLabel*>(u"STB1Panel"_s + QString::number(n))->text();
    }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    frmMain window{workspace, prompts};
};

TEST_F(MainWindowTest, ControlsCarryTheirNamesCaptionsAndTips) {
    window.startUp({});
    EXPECT_EQ(window.windowTitle(), u"Tovenla2"_s);
    const struct {
        const char* name;
        QString caption;
        QString tip;
        bool enabled;
    } buttons[] = {
        {"CMDin", u">>"_s, u"このボタンで現在のカーソル行から写真をセットします"_s, true},
        {"CMDnew", u"新規"_s, u"新規入力"_s, true},
        {"CMDload", u"呼出"_s, u"入力ファイルを呼び出します"_s, true},
        {"CMDsave", u"保存"_s, u"現在のシート内容を保存します"_s, true},
        {"Command7", u"Import2"_s, u"特殊処理2"_s, true},
        {"Command1", u"プリンタ設定"_s, u"プリンタの設定"_s, true},
        {"CMDend", u"終了"_s, u"終了します"_s, true},
        {"CMDout", u"印刷"_s, u"写真帳を印刷します"_s, true},
        {"CMDXML", u"XML"_s, u"電子納品・ラベル処理"_s, true},
        {"Command9", u"Import3"_s, QString(), true},
        {"Command10", u"Import4"_s, QString(), true},
    };
    for (const auto& expected : buttons) {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(expected.name));
        ASSERT_NE(button, nullptr) << expected.name;
        EXPECT_EQ(button->text(), expected.caption) << expected.name;
        EXPECT_EQ(button->toolTip(), expected.tip) << expected.name;
        EXPECT_EQ(button->isEnabled(), expected.enabled) << expected.name;
    }
    EXPECT_TRUE(window.findChild<QPushButton*>(u"cmdCancel"_s)->isHidden());
    EXPECT_EQ(window.findChild<QCheckBox*>(u"Check1"_s)->text(), u"プレビューする"_s);
    EXPECT_EQ(panel(4), u"Data総数=0"_s);
    EXPECT_EQ(window.sheetView()->model()->rowCount(), 1000);
    EXPECT_GT(window.sheetView()->rowHeight(0), window.sheetView()->horizontalHeader()->height());
}

// No button of the window is shown without the handler its click runs.
TEST_F(MainWindowTest, EveryShownButtonAnswersItsClick) {
    const QList<QPushButton*> buttons = window.findChildren<QPushButton*>();
    ASSERT_GE(buttons.size(), 22);
    for (QPushButton* button : buttons) {
        if (!button->isVisibleTo(&window)) continue;
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        // Disconnecting answers whether anything was connected; the window is not used afterwards.
        EXPECT_TRUE(QObject::disconnect(button, &QPushButton::clicked, nullptr, nullptr))
            << button->objectName().toStdString();
    }
}

// A day's work end to end: import, save, clear, load, undo, quit.
TEST_F(MainWindowTest, ImportSaveClearLoadUndoAndQuit) {
    const QByteArray bookmarks = cp932(u"C:\\写真\\現場\r\n"_s);
    PhraseBook book;
    book.setPhrase(3, u"境界標"_s);
    const QByteArray phrases = book.serialize();
    writeBytes(dir.filePath(u"add.dat"_s), bookmarks);
    writeBytes(dir.filePath(u"MJRT.dat"_s), phrases);
    window.startUp({});
    const QByteArray settingsAtStart = readBytes(dir.filePath(u"tovenla.ini"_s));

    const QString csv = dir.filePath(u"list.csv"_s);
    writeBytes(csv, cp932(u"番号,説明,ファイル\r\nNo.1,境界標,K1_01.jpg\r\nNo.2,引照点,K2_02.jpg\r\n"_s));
    prompts.openPaths.push_back(csv);
    click(u"Command7"_s);
    EXPECT_EQ(panel(4), u"Data総数=2"_s);
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info), u"No.2\r\n引照点\r\n"_s);
    EXPECT_EQ(workspace.SheetModified, 1);

    const QString album = dir.filePath(u"album.dat"_s);
    prompts.savePaths.push_back(album);
    click(u"CMDsave"_s);
    EXPECT_EQ(workspace.SheetModified, 0);
    const QList<AlbumRow> saved = workspace.SS1.rows();

    workspace.SS1.setData(workspace.SS1.index(2, 3), u"/extra.jpg"_s, Qt::EditRole); // typed in
    EXPECT_EQ(workspace.SheetModified, 1);
    prompts.answers.push_back(Answer::Yes);
    click(u"CMDnew"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"継続確認"_s);
    EXPECT_EQ(panel(4), u"Data総数=0"_s);

    prompts.openPaths.push_back(album);
    click(u"CMDload"_s);
    EXPECT_EQ(workspace.SS1.rows(), saved);
    EXPECT_EQ(workspace.SheetModified, 0);

    QAction* undo = window.findChild<QAction*>(u"mnuEdit_Undo"_s);
    undo->trigger(); // the load
    EXPECT_EQ(workspace.SS1.dataRowCount(), 0);
    undo->trigger(); // the clear
    EXPECT_EQ(workspace.SS1.text(3, AlbumColumn::Path), u"/extra.jpg"_s);
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_EQ(panel(4), u"Data総数=3"_s);

    window.findChild<QCheckBox*>(u"Check1"_s)->setChecked(false);
    prompts.answers.push_back(Answer::No);
    click(u"CMDend"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"終了確認"_s);
    EXPECT_EQ(prompts.messages.size(), 2);

    EXPECT_EQ(readBytes(dir.filePath(u"add.dat"_s)), bookmarks);
    EXPECT_EQ(readBytes(dir.filePath(u"MJRT.dat"_s)), phrases);
    QByteArray expectedSettings = settingsAtStart;
    expectedSettings.replace(" 1000 \r\n 1 \r\n", " 1000 \r\n 0 \r\n"); // the preview box, item 2
    EXPECT_EQ(readBytes(dir.filePath(u"tovenla.ini"_s)), expectedSettings);
    EXPECT_EQ(AlbumFile::load(album, 1000), saved);
}

TEST_F(MainWindowTest, PrinterSetUpKeepsTheChosenPrinterAndIgnoresCancel) {
    window.startUp({});
    prompts.printers = {u"LBP"_s, QString()};
    click(u"Command1"_s);
    EXPECT_EQ(workspace.DefaultPrinter, u"LBP"_s);
    click(u"Command1"_s);
    EXPECT_EQ(workspace.DefaultPrinter, u"LBP"_s);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(MainWindowTest, ATextStillBeingTypedAtExitIsKeptAndOffered) {
    window.startUp({});
    window.show();
    QApplication::setActiveWindow(&window);
    QTableView* sheet = window.sheetView();
    const QModelIndex cell = workspace.SS1.index(0, AlbumColumn::Path - 1);
    sheet->setCurrentIndex(cell);
    sheet->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setText(u"/typed.jpg"_s);
    window.close();
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Path), u"/typed.jpg"_s);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().title, u"終了確認"_s);
}

// Office screens of 1024x768 must show every button and the sheet's scroll bar.
TEST_F(MainWindowTest, FitsA1024By768Screen) {
    window.startUp({});
    const QSize minimum = window.minimumSizeHint().expandedTo(window.minimumSize());
    EXPECT_LE(minimum.width(), 1024);
    EXPECT_LE(minimum.height(), 740);
    window.resize(1024, 740);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(window.size(), QSize(1024, 740));
    const QRect inside = window.rect();
    for (const char* name : {"CMDend", "Command10", "CMDFCP", "SS1"}) {
        const QWidget* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
        const QRect area(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        EXPECT_TRUE(inside.contains(area)) << name;
    }
}

TEST_F(MainWindowTest, DoubleClickOnAPictureShowsThePhotoFullScreen) {
    window.startUp({});
    const QString photo = dir.filePath(u"写真.jpg"_s);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(photo));
    workspace.SS1.setText(2, AlbumColumn::Path, photo);
    workspace.SS1.setText(3, AlbumColumn::Path, dir.filePath(u"gone.jpg"_s));
    auto* viewer = window.findChild<QWidget*>(u"frmFullScreen"_s);
    ASSERT_NE(viewer, nullptr);

    const auto doubleClick = [&](int row) {
        QTableView* sheet = window.sheetView();
        Q_EMIT sheet->doubleClicked(workspace.SS1.index(row - 1, AlbumColumn::Picture - 1));
    };
    doubleClick(3); // a photo that is gone: nothing happens
    EXPECT_FALSE(viewer->isVisible());
    doubleClick(2);
    EXPECT_TRUE(viewer->isVisible());
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(viewer, &key);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(window.findChild<QAction*>(u"mnuHelp_About"_s)->isEnabled());

    // A photo refused for its size is named with the reason instead of nothing happening.
    const QString huge = dir.filePath(u"huge.jpg"_s);
    writeBytes(huge, jpegClaiming(30000, 30000));
    workspace.SS1.setText(4, AlbumColumn::Path, huge);
    EXPECT_TRUE(prompts.messages.isEmpty());
    doubleClick(4);
    EXPECT_FALSE(viewer->isVisible());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, huge + u"\n画素数が多すぎるため読み込みません。"_s);
}

// The album named at start-up is in sight before its thumbnails are made, as after 呼出.
TEST_F(MainWindowTest, StartUpShowsTheAlbumFirstThenMakesItsThumbnails) {
    QList<AlbumRow> rows(3);
    for (int r = 0; r < 3; ++r) {
        rows[r].path = dir.filePath(u"写真%1.jpg"_s.arg(r));
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(rows[r].path));
    }
    const QString album = dir.filePath(u"big.dat"_s);
    AlbumFile::save(album, rows);

    window.startUp(album);
    EXPECT_EQ(workspace.SS1.dataRowCount(), 3);
    EXPECT_TRUE(workspace.SS1.picture(1).isNull()) << "no thumbnail run before the window is shown";
    window.show();
    bool windowShownDuringRun = false;
    QTimer::singleShot(0, &window, [&] {
        if (window.findChild<QDialog*>(u"DialogSamN"_s)) windowShownDuringRun = window.isVisible();
    });
    QApplication::processEvents();
    EXPECT_TRUE(windowShownDuringRun);
    for (int r = 1; r <= 3; ++r)
        EXPECT_FALSE(workspace.SS1.picture(r).isNull()) << r;
    EXPECT_EQ(workspace.SheetModified, 0);
}

// An album named at start-up that cannot be read is said so, with its path and why, over the
// empty sheet.
TEST_F(MainWindowTest, StartUpSaysWhyTheAlbumNamedCannotBeOpened) {
    for (const QString& named : {dir.filePath(u"無い.dat"_s), dir.path()}) {
        prompts.messages.clear();
        window.startUp(resolveAlbumArgument(named.split(u' ')).path);
        ASSERT_EQ(prompts.messages.size(), 1) << named.toStdString();
        EXPECT_TRUE(prompts.lastMessage().text.startsWith(u"ファイルを読み込めませんでした。\n"_s +
                                                          QDir::toNativeSeparators(named) + u'\n'))
            << prompts.lastMessage().text.toStdString();
        EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Critical);
        EXPECT_EQ(workspace.SS1.dataRowCount(), 0);
        EXPECT_TRUE(workspace.AlbumFilePath.isEmpty());
    }
}

// The sheet selects one block of rows, so 行削除 deletes exactly the rows it names.
TEST_F(MainWindowTest, TheSheetSelectsOneBlockOfRowsForDeletion) {
    window.startUp({});
    QList<AlbumRow> rows(6);
    for (int r = 0; r < 6; ++r)
        rows[r].path = u"/p/%1.jpg"_s.arg(r + 1);
    workspace.replaceRows(u"test"_s, rows, 0);
    window.show();
    QTableView* sheet = window.sheetView();
    const auto clickRow = [&](int row, Qt::KeyboardModifiers modifiers) {
        const QPoint point(sheet->columnViewportPosition(AlbumColumn::Path - 1) + 5,
                           sheet->rowViewportPosition(row - 1) + 5);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, point, sheet->viewport()->mapToGlobal(point), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, modifiers);
            QApplication::sendEvent(sheet->viewport(), &event);
        }
    };
    const auto selectedRows = [&] {
        QList<int> rows;
        for (const QModelIndex& index : sheet->selectionModel()->selectedIndexes())
            if (!rows.contains(index.row() + 1)) rows << index.row() + 1;
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    const auto askedWhenDeleting = [&] {
        prompts.answers.push_back(Answer::No);
        click(u"CMDDel"_s);
        return prompts.lastMessage().text;
    };
    // Ctrl cannot pick rows apart: the rows between are selected too, in sight, and named.
    clickRow(2, Qt::NoModifier);
    clickRow(5, Qt::ControlModifier);
    EXPECT_EQ(selectedRows(), (QList<int>{2, 3, 4, 5}));
    EXPECT_EQ(askedWhenDeleting(), u"2～5のデータを削除します。"_s);
    clickRow(5, Qt::NoModifier);
    EXPECT_EQ(askedWhenDeleting(), u"5～5のデータを削除します。"_s);
    clickRow(2, Qt::NoModifier);
    clickRow(4, Qt::ShiftModifier);
    EXPECT_EQ(selectedRows(), (QList<int>{2, 3, 4}));
    EXPECT_EQ(askedWhenDeleting(), u"2～4のデータを削除します。"_s);
    prompts.answers.push_back(Answer::Yes);
    click(u"CMDDel"_s);
    EXPECT_EQ(workspace.SS1.dataRowCount(), 3);
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Path), u"/p/5.jpg"_s);
}
