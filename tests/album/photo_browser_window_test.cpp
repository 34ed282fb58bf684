#include "album/ui/photo_browser_panel.h"
#include "shell/ui/main_window.h"
#include "support/photo_files.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class PhotoBrowserWindowTest : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"K1_01.jpg", "K2_02.jpg", "K10_05.jpg", "memo.txt"}) {
            QImage image(40, 30, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            image.save(photos.filePath(QString::fromLatin1(name)), "JPG");
        }
        window.startUp({});
        window.resize(1024, 720);
        window.show();
        browser = window.findChild<PhotoBrowserPanel*>();
        ASSERT_TRUE(browser->setFolder(photos.path()));
    }
    template <typename T> T* child(const QString& name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QString panel(int n) { return child<QLabel>(u"STB1Panel"_s + QString::number(n))->text(); }
    QString path(int row) const { return workspace.SS1.text(row, AlbumColumn::Path); }

    QTemporaryDir home;
    QTemporaryDir photos;
    Workspace workspace{home.path()};
    ScriptedPrompts prompts;
    frmMain window{workspace, prompts};
    PhotoBrowserPanel* browser = nullptr;
};

TEST_F(PhotoBrowserWindowTest, SelectedFilesGoOnRowsFromTheCursorInListOrder) {
    auto* files = child<QListWidget>(u"FileM"_s);
    ASSERT_EQ(files->count(), 3);
    EXPECT_EQ(files->item(2)->text(), u"K10_05.jpg"_s);
    EXPECT_EQ(panel(3), u"画像総数=3"_s);
    EXPECT_EQ(workspace.CurrentFolder, photos.path());

    files->item(2)->setSelected(true);
    files->item(0)->setSelected(true);
    window.sheetView()->setCurrentIndex(workspace.SS1.index(4, 1));
    child<QPushButton>(u"CMDin"_s)->click();
    EXPECT_EQ(path(5), photos.filePath(u"K1_01.jpg"_s));
    EXPECT_EQ(path(6), photos.filePath(u"K10_05.jpg"_s));
    EXPECT_TRUE(workspace.SS1.text(6, AlbumColumn::Info).startsWith(u"K10_05\r\n標示版\r\n"_s));
    EXPECT_EQ(panel(4), u"Data総数=6"_s);
    EXPECT_TRUE(child<QPushButton>(u"cmdCancel"_s)->isHidden());
    EXPECT_TRUE(child<QPushButton>(u"CMDnew"_s)->isEnabled());

    // The preview shows the clicked picture when ticked.
    child<QCheckBox>(u"Check1"_s)->setChecked(true);
    Q_EMIT files->itemClicked(files->item(1));
    auto* preview = child<QTableView>(u"SS4"_s);
    EXPECT_FALSE(preview->model()->index(0, 0).data(Qt::DecorationRole).isNull());
}

TEST_F(PhotoBrowserWindowTest, FilesDroppedOnTheSheetLandFromTheRowUnderThePoint) {
    QTableView* sheet = window.sheetView();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(photos.filePath(u"K2_02.jpg"_s)),
                  QUrl::fromLocalFile(photos.filePath(u"memo.txt"_s)),
                  QUrl::fromLocalFile(photos.filePath(u"K1_01.jpg"_s))});
    const QPoint point(10, sheet->rowViewportPosition(1) + 5); // row 2
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(sheet->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(sheet->viewport(), &drop);
    EXPECT_EQ(path(1), QString());
    EXPECT_EQ(path(2), photos.filePath(u"K2_02.jpg"_s));
    EXPECT_EQ(path(3), photos.filePath(u"K1_01.jpg"_s));
    EXPECT_EQ(workspace.SheetModified, 1);
    child<QAction>(u"mnuEdit_Undo"_s)->trigger();
    EXPECT_EQ(workspace.AlbumRowCount, 0);
}

TEST_F(PhotoBrowserWindowTest, CopyRefusesAnEmptySheetThenCopiesAndReports) {
    child<QPushButton>(u"CMDFCP"_s)->click();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text,
              u"対象データがありません。データを入力するか呼出しを行って下さい。"_s);

    workspace.editCell(1, AlbumColumn::Path, photos.filePath(u"K1_01.jpg"_s));
    workspace.editCell(1, AlbumColumn::Info, u"1\r\nNo.\r\n"_s);
    QTemporaryDir target;
    prompts.folders = {target.path()};
    child<QPushButton>(u"CMDFCP"_s)->click();
    EXPECT_EQ(prompts.folderTitles.last(), u"コピー先のフォルダーを指示。ファイル名は無視します。"_s);
    EXPECT_TRUE(QFileInfo::exists(target.filePath(u"No.1.jpg"_s)));
    EXPECT_EQ(workspace.ChosenFolder, target.path() + u'/');
    EXPECT_EQ(panel(1), u"画像コピー中"_s);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"1 枚"_s)) << prompts.lastMessage().text.toStdString();
}

TEST_F(PhotoBrowserWindowTest, BookmarksAreAddedVisitedAndRemoved) {
    child<QAction>(u"mnuBookMark_Add"_s)->trigger();
    child<QAction>(u"mnuBookMark_Add"_s)->trigger();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, u"既にフォルダのパスが登録されています"_s);
    ASSERT_TRUE(browser->setFolder(home.path()));
    child<QAction>(u"mnuBookMark_Add"_s)->trigger();

    QList<QAction*> items = window.findChildren<QAction*>(u"mnuBookMark_Fold"_s);
    ASSERT_EQ(items.size(), 2);
    items[0]->trigger();
    EXPECT_EQ(workspace.CurrentFolder, photos.path());

    QTimer::singleShot(0, [this] {
        auto* dialog = window.findChild<QDialog*>(u"frmAddDelete"_s);
        auto* list = dialog->findChild<QListWidget*>(u"List1"_s);
        auto* ok = dialog->findChild<QPushButton*>(u"cmdOK"_s);
        EXPECT_FALSE(ok->isEnabled());
        list->item(0)->setCheckState(Qt::Checked);
        ok->click();
    });
    child<QAction>(u"mnuBookMark_Del"_s)->trigger();
    items = window.findChildren<QAction*>(u"mnuBookMark_Fold"_s);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(workspace.Bookmarks.paths(), QStringList{home.path()});

    home.remove();
    items[0]->trigger();
    EXPECT_EQ(prompts.lastMessage().text, u"パスが存在しません。"_s);
    EXPECT_EQ(workspace.CurrentFolder, photos.path());
}

TEST_F(PhotoBrowserWindowTest, AFolderThatCannotBeShownIsReportedAndTheListsStay) {
    QDir(photos.path()).mkdir(u"gone"_s);
    ASSERT_TRUE(browser->setFolder(photos.path()));
    auto* folders = child<QListWidget>(u"DirM"_s);
    QListWidgetItem* gone = folders->findItems(u"gone"_s, Qt::MatchEndsWith).value(0);
    ASSERT_NE(gone, nullptr);
    QDir(photos.filePath(u"gone"_s)).removeRecursively();
    Q_EMIT folders->itemActivated(gone);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessage().text.startsWith(u"エラー\r\n"_s));
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Critical);
    EXPECT_EQ(workspace.CurrentFolder, photos.path());
    EXPECT_EQ(child<QListWidget>(u"FileM"_s)->count(), 3);
}

// The preview shows the whole picture upright, and says so when a picture is too large to read.
TEST_F(PhotoBrowserWindowTest, ThePreviewShowsATurnedPhotoWholeAndNamesARefusal) {
    writeJpeg(photos.filePath(u"turned.jpg"_s), twoColourImage({800, 600}, Qt::red, Qt::blue), 6);
    writeBytes(photos.filePath(u"huge.jpg"_s), jpegClaiming(30000, 30000));
    ASSERT_TRUE(browser->setFolder(photos.path()));
    child<QCheckBox>(u"Check1"_s)->setChecked(true);
    auto* files = child<QListWidget>(u"FileM"_s);
    auto* preview = child<QTableView>(u"SS4"_s);
    const QModelIndex cell = preview->model()->index(0, 0);

    Q_EMIT files->itemClicked(files->findItems(u"turned.jpg"_s, Qt::MatchExactly).value(0));
    const QImage shown = cell.data(Qt::DecorationRole).value<QImage>();
    ASSERT_FALSE(shown.isNull());
    EXPECT_LT(shown.width(), shown.height()) << "upright";
    EXPECT_LT(shown.height(), preview->viewport()->height()) << "whole, top and bottom in the cell";
    EXPECT_NEAR(shown.width() * 4, shown.height() * 3, 4) << "its own proportions";
    EXPECT_TRUE(cell.data(Qt::DisplayRole).toString().isEmpty());

    Q_EMIT files->itemClicked(files->findItems(u"huge.jpg"_s, Qt::MatchExactly).value(0));
    EXPECT_TRUE(cell.data(Qt::DecorationRole).isNull());
    EXPECT_EQ(cell.data(Qt::DisplayRole).toString(), u"画素数が多すぎるため読み込みません"_s);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// Typing in the folder list goes to the folder whose name begins so; Enter opens it.
TEST_F(PhotoBrowserWindowTest, TypingInTheFolderListFindsTheFolder) {
    for (const char* name : {"beta", "Gamma", "delta"})
        QDir(photos.path()).mkdir(QString::fromLatin1(name));
    ASSERT_TRUE(browser->setFolder(photos.path()));
    auto* folders = child<QListWidget>(u"DirM"_s);
    const auto type = [&](Qt::Key key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(folders, &press);
    };
    type(Qt::Key_G, u"g"_s);
    ASSERT_NE(folders->currentItem(), nullptr);
    EXPECT_EQ(folders->currentItem()->text(), u"Gamma"_s);
    type(Qt::Key_Return, {});
    EXPECT_EQ(workspace.CurrentFolder, photos.filePath(u"Gamma"_s));
    EXPECT_EQ(folders->currentItem()->text(), u"Gamma"_s) << "shown as the folder opened";
}
