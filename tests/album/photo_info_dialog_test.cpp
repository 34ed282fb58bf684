#include "album/photo_info.h"
#include "album/ui/photo_info_dialog.h"
#include "album/ui/photo_view.h"
#include "shell/ui/main_window.h"
#include "support/blackboard_photos.h"
#include "support/photo_files.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/workspace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

class PhotoInfoDialogTest : public testing::Test {
protected:
    void SetUp() override {
        window.startUp({});
        photo = dir.filePath(u"現場.jpg"_s);
        QImage image(800, 600, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(photo));
        QList<AlbumRow> rows(3);
        rows[0].path = u"C:\\写真\\P001.JPG"_s;
        rows[1].path = photo;
        rows[1].info = u"一\r\n二\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"_s;
        workspace.replaceRows(u"test"_s, rows, 0);
        workspace.phrases.setPhrase(3, u"境界標"_s);
    }
    void clickCell(int row, int column) {
        QTableView* view = window.sheetView();
        const QModelIndex index = workspace.SS1.index(row - 1, column - 1);
        view->setCurrentIndex(index);
        Q_EMIT view->clicked(index);
    }
    template <typename T> T* child(const QString& name) {
        T* found = window.infoDialog() ? window.infoDialog()->findChild<T*>(name) : nullptr;
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    QTemporaryDir dir;
    QString photo;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    frmMain window{workspace, prompts};
};

TEST_F(PhotoInfoDialogTest, ClickEditAndOkWriteNineteenLinesIntoTheRowItWasOpenedFor) {
    clickCell(2, AlbumColumn::Info);
    frmPIC* dialog = window.infoDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), u"情報設定"_s);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_TRUE(child<PhotoView>(u"Picture2"_s)->hasPhoto());
    EXPECT_EQ(child<QLabel>(u"PhotName"_s)->text(), photo);
    QTableWidget* SS2 = child<QTableWidget>(u"SS2"_s);
    EXPECT_EQ(SS2->item(7, 0)->text(), u"八"_s);
    EXPECT_EQ(child<QComboBox>(u"Cmb2_5"_s)->currentText(), QString());

    SS2->item(0, 0)->setText(u"*3"_s);
    EXPECT_EQ(SS2->item(0, 0)->text(), u"境界標"_s);
    SS2->item(2, 0)->setText(u"."_s);
    EXPECT_EQ(SS2->item(2, 0)->text(), u"二"_s);
    child<QComboBox>(u"Cmb1_1"_s)->setCurrentText(u"境界杭設置"_s);
    child<QComboBox>(u"Cmb2_5"_s)->setCurrentText(u"±5mm"_s);

    // A further click keeps the open dialog and its row.
    clickCell(3, AlbumColumn::Info);
    EXPECT_EQ(window.infoDialog(), dialog);
    EXPECT_EQ(dialog->openedRow(), 2);

    // The row moves up when the row above it goes; OK follows it.
    window.sheetView()->setCurrentIndex(workspace.SS1.index(0, 3));
    prompts.answers.push_back(Answer::Yes);
    window.findChild<QPushButton*>(u"CMDDel"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, u"1～1のデータを削除します。"_s);

    child<QPushButton>(u"cmdOK"_s)->click();
    const QStringList lines = PhotoInfo::linesOf(workspace.SS1.text(1, AlbumColumn::Info));
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info).count(u"\r\n"_s), 19);
    EXPECT_EQ(lines.at(0), u"境界標"_s);
    EXPECT_EQ(lines.at(2), u"二"_s);
    EXPECT_EQ(lines.at(9), u"境界杭設置"_s);
    EXPECT_EQ(lines.at(18), u"±5mm"_s);
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_EQ(workspace.settings.text(106), u"境界杭設置"_s);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.infoDialog(), nullptr);

    // Next photo: its history and the one-click copy.
    clickCell(2, AlbumColumn::Info);
    EXPECT_EQ(child<QComboBox>(u"Cmb1_1"_s)->itemText(0), u"境界杭設置"_s);
    child<QPushButton>(u"CMDcopy"_s)->click();
    EXPECT_EQ(child<QComboBox>(u"Cmb2_5"_s)->currentText(), u"±5mm"_s);
    EXPECT_EQ(child<QTableWidget>(u"SS2"_s)->item(0, 0)->text(), QString()); // free lines only when set
    child<QPushButton>(u"cmdCancel"_s)->click();
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info), QString());
}

TEST_F(PhotoInfoDialogTest, MissingRequiredItemsKeepTheDialogOpenAndADeletedRowIsNotWrittenOver) {
    workspace.settings.setItem(SettingItem::DeliveryChecks, SettingValue::number(1));
    clickCell(1, AlbumColumn::Info);
    EXPECT_FALSE(child<PhotoView>(u"Picture2"_s)->hasPhoto());
    EXPECT_EQ(child<QLabel>(u"PhotName"_s)->text(), u"C:\\写真\\P001.JPG"_s);
    child<QPushButton>(u"cmdOK"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, u"必須項目の空欄は認められません。必ず入力して下さい。"_s);
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Info), QString());

    child<QComboBox>(u"Cmb1_1"_s)->setCurrentText(u"題"_s);
    child<QComboBox>(u"Cmb1_3"_s)->setCurrentText(u"工事"_s);
    window.sheetView()->setCurrentIndex(workspace.SS1.index(0, 3));
    prompts.answers.push_back(Answer::Yes);
    window.findChild<QPushButton*>(u"CMDDel"_s)->click();
    const QList<AlbumRow> before = workspace.SS1.rows();
    child<QPushButton>(u"cmdOK"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, PhotoInfo::RowGone);
    EXPECT_EQ(workspace.SS1.rows(), before);
}

TEST_F(PhotoInfoDialogTest, NumberColumnClicksNumberAndReorderAsks) {
    clickCell(3, AlbumColumn::Number);
    clickCell(1, AlbumColumn::Number);
    EXPECT_EQ(workspace.SS1.text(3, AlbumColumn::Number), u"1"_s);
    EXPECT_EQ(workspace.SS1.text(1, AlbumColumn::Number), u"2"_s);
    EXPECT_EQ(window.infoDialog(), nullptr);
    prompts.answers.push_back(Answer::Yes);
    window.findChild<QPushButton*>(u"CMDSort"_s)->click();
    EXPECT_EQ(workspace.SS1.text(3, AlbumColumn::Path), u"C:\\写真\\P001.JPG"_s);
    EXPECT_EQ(workspace.ClickCounter, 0);
}

// Enter in an item keeps what was typed and goes on to the next field; only OK writes.
TEST_F(PhotoInfoDialogTest, EnterInAnItemMovesOnAndNeverActsAsOk) {
    clickCell(2, AlbumColumn::Info);
    frmPIC* dialog = window.infoDialog();
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    auto* tabs = child<QTabWidget>(u"SSTab1"_s);
    tabs->setCurrentIndex(1);
    auto* title = child<QComboBox>(u"Cmb1_1"_s);
    title->lineEdit()->setFocus();
    title->lineEdit()->setText(u"境界杭設置"_s);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(window.infoDialog(), dialog);
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info),
              u"一\r\n二\r\n三\r\n四\r\n五\r\n六\r\n七\r\n八\r\n"_s);
    EXPECT_EQ(title->currentText(), u"境界杭設置"_s);
    EXPECT_FALSE(title->isAncestorOf(QApplication::focusWidget())) << "the focus moved on";
    child<QPushButton>(u"cmdCancel"_s)->click();
}

// A zoom past what the first decode holds brings the photo's own pixels, up to what the deepest
// zoom can show.
TEST(PhotoView, DeepZoomDecodesTheSourcesOwnPixels) {
    QTemporaryDir dir;
    const auto clickAt = [](PhotoView& view, Qt::MouseButton button) {
        const QPointF centre(188, 140);
        QMouseEvent press(QEvent::MouseButtonPress, centre, view.mapToGlobal(centre), button, button,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
    };
    const struct {
        QSize photo;
        QSize first;
        QSize deep;
    } cases[] = {
        {{2000, 1500}, {1124, 843}, {2000, 1500}}, // the whole photo
        {{6000, 1000}, {1128, 188}, {3760, 626}},  // what 1000 % shows of a panorama
        {{600, 450}, {600, 450}, {600, 450}},      // small enough to come whole at once
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(u"p%1.jpg"_s.arg(c.photo.width()));
        QImage image(c.photo, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        ASSERT_TRUE(image.save(path));
        PhotoView view;
        ASSERT_TRUE(view.load(path));
        EXPECT_EQ(view.decodedSize(), c.first) << c.photo.width();
        clickAt(view, Qt::LeftButton); // 300 %
        EXPECT_EQ(view.decodedSize(), c.first) << c.photo.width();
        clickAt(view, Qt::LeftButton); // 500 %
        EXPECT_EQ(view.zoom().percent(), 500);
        EXPECT_EQ(view.decodedSize(), c.deep) << c.photo.width();
        clickAt(view, Qt::RightButton);
        EXPECT_EQ(view.zoom().percent(), 100);
        EXPECT_EQ(view.decodedSize(), c.deep) << "one picture is kept, not two";
    }
}

TEST(PhotoView, APhotoOverThePictureLimitSaysSoInTheView) {
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"huge.jpg"_s), jpegClaiming(30000, 30000));
    PhotoView view;
    EXPECT_FALSE(view.load(dir.filePath(u"huge.jpg"_s)));
    EXPECT_EQ(view.note(), u"画素数が多すぎるため読み込みません"_s);
    writeBytes(dir.filePath(u"broken.jpg"_s), "not a picture");
    EXPECT_FALSE(view.load(dir.filePath(u"broken.jpg"_s)));
    EXPECT_EQ(view.note(), QString());
}

TEST_F(PhotoInfoDialogTest, TheBlackboardTabShowsTheItemsAndCopiesThemIntoEmptyLinesOnly) {
    const QString board = writeBlackboardJpeg(
        dir.filePath(u"黒板.jpg"_s), {xmpBody(blackboardPacket(BlackboardLayout::ParseTypeResource))});
    QList<AlbumRow> rows = workspace.SS1.rows();
    rows.resize(3);
    rows[2].path = board;
    rows[2].info = PhotoInfo::cellText({{}, {}, {}, {}, {}, {}, {}, {}, {}, u"手入力の題"_s});
    workspace.replaceRows(u"test"_s, rows, 0);

    clickCell(3, AlbumColumn::Info);
    QTableWidget* items = child<QTableWidget>(u"SSBlackboard"_s);
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->item(0, 0)->text(), u"工事名"_s);
    EXPECT_EQ(items->item(0, 1)->text(), u"市道改良工事"_s);
    EXPECT_EQ(items->editTriggers(), QAbstractItemView::NoEditTriggers);
    child<QPushButton>(u"CMDblackboard"_s)->click();
    EXPECT_EQ(child<QComboBox>(u"Cmb1_1"_s)->currentText(), u"手入力の題"_s);
    EXPECT_EQ(child<QComboBox>(u"Cmb2_1"_s)->currentText(), u"道路土工"_s);
    EXPECT_EQ(child<QCheckBox>(u"Chk1"_s)->checkState(), Qt::Checked);
    EXPECT_EQ(PhotoInfo::allLinesOf(workspace.SS1.text(3, AlbumColumn::Info)).at(14), QString()); // until OK

    // A photo without one: an empty table and no button to press.
    auto* plain = new frmPIC(workspace, prompts, 2);
    EXPECT_EQ(plain->findChild<QTableWidget*>(u"SSBlackboard"_s)->rowCount(), 0);
    EXPECT_FALSE(plain->findChild<QPushButton*>(u"CMDblackboard"_s)->isEnabled());
    delete plain;
}

// A row without lines 20 and 21 shows the boxes as the delivery will write them, never half
// checked, and keeps the lines unset until a box is clicked.
TEST_F(PhotoInfoDialogTest, TheFlagBoxesOfARowWithoutThemShowWhatTheDeliveryWrites) {
    workspace.settings.setText(SettingText::DeliveryFrequencyDefault, u"1"_s);
    const QString before = workspace.SS1.text(2, AlbumColumn::Info);
    clickCell(2, AlbumColumn::Info);
    auto* representative = child<QCheckBox>(u"Chk1"_s);
    auto* frequency = child<QCheckBox>(u"Chk2"_s);
    EXPECT_FALSE(representative->isTristate());
    EXPECT_EQ(representative->checkState(), Qt::Unchecked);
    EXPECT_EQ(frequency->checkState(), Qt::Checked) << "the delivery's default for unset rows";
    child<QPushButton>(u"cmdOK"_s)->click();
    EXPECT_EQ(PhotoInfo::allLinesOf(workspace.SS1.text(2, AlbumColumn::Info)).mid(19, 2),
              (QStringList{QString(), QString()}));
    EXPECT_EQ(workspace.SS1.text(2, AlbumColumn::Info).count(u"\r\n"_s), 19) << before.toStdString();

    clickCell(2, AlbumColumn::Info);
    child<QCheckBox>(u"Chk1"_s)->click();
    child<QPushButton>(u"cmdOK"_s)->click();
    EXPECT_EQ(PhotoInfo::allLinesOf(workspace.SS1.text(2, AlbumColumn::Info)).mid(19, 2),
              (QStringList{u"1"_s, QString()}));
}

TEST_F(PhotoInfoDialogTest, TheEditMenuFillsEveryRowAndSaysHowMany) {
    QList<AlbumRow> rows = workspace.SS1.rows();
    rows.resize(3);
    rows[2].path = writeBlackboardJpeg(dir.filePath(u"黒板.jpg"_s),
                                       {xmpBody(blackboardPacket(BlackboardLayout::Elements))});
    workspace.replaceRows(u"test"_s, rows, 0);
    window.findChild<QAction*>(u"mnuEdit_Blackboard"_s)->trigger();
    EXPECT_EQ(PhotoInfo::allLinesOf(workspace.SS1.text(3, AlbumColumn::Info)).at(9), u"床掘完了"_s);
    EXPECT_TRUE(prompts.lastMessage().text.startsWith(
        u"1 行に黒板情報を取り込みました。\r\n黒板情報のない写真: 2 枚"_s))
        << prompts.lastMessage().text.toStdString();
    workspace.undoStack.undo();
    EXPECT_TRUE(workspace.SS1.text(3, AlbumColumn::Info).isEmpty());
}
