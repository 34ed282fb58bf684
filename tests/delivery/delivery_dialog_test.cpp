#include "delivery/delivery_export.h"
#include "delivery/delivery_history.h"
#include "delivery/replace_check.h"
#include "delivery/ui/delivery_dialog.h"
#include "delivery_fixture.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_prompts.h"
#include "support/message_box_answerer.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QStringList texts(const Settings& settings, int first, int last) {
    QStringList list;
    for (int n = first; n <= last; ++n)
        list << settings.text(n);
    return list;
}

// Lines the old standard takes without a warning.
QStringList info03() {
    QStringList lines(19);
    lines[9] = u"全景"_s;
    lines[11] = u"測量"_s;
    lines[12] = u"2024-06-01"_s;
    return lines;
}

QStringList items(const QListWidget* list) {
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result << list->item(row)->text();
    return result;
}

} // namespace

TEST(DeliveryHistory, NewTextsGoFirstKnownOnesChangeNothingAndTheSixthPushesTheOldestOut) {
    Settings settings;
    const int first = DeliveryHistory::requiredFirstEntry(2);
    EXPECT_EQ(first, 11);
    EXPECT_EQ(DeliveryHistory::conditionalFirstEntry(3), 66);
    for (const char* text : {"a", "b", "c"})
        DeliveryHistory::remember(settings, first, QString::fromLatin1(text));
    DeliveryHistory::remember(settings, first, u"a"_s);
    DeliveryHistory::remember(settings, first, {});
    EXPECT_EQ(texts(settings, 11, 15), (QStringList{u"c"_s, u"b"_s, u"a"_s, {}, {}}));
    for (const char* text : {"d", "e", "f"})
        DeliveryHistory::remember(settings, first, QString::fromLatin1(text));
    EXPECT_EQ(texts(settings, 11, 15), (QStringList{u"f"_s, u"e"_s, u"d"_s, u"c"_s, u"b"_s}));
    EXPECT_EQ(settings.text(10), QString());
    EXPECT_EQ(settings.text(16), QString()); // the next box is untouched
}

class DeliveryDialogTest : public DeliveryFolder {
protected:
    void SetUp() override {
        workspace.CurrentFolder = out.path();
        workspace.settings.setText(SettingText::DeliveryStandard, u"03"_s);
        workspace.replaceRows(
            u"fill"_s,
            {photoRow(jpeg(u"a.jpg"_s), info03()), AlbumRow{}, photoRow(jpeg(u"b.jpg"_s), info03())}, 1);
        workspace.UpdateRowTotal();
    }
    template <typename T> T* child(frmXML& dialog, const QString& name) {
        T* widget = dialog.findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    Workspace workspace{source.path()};
    ScriptedPrompts prompts;
};

TEST_F(DeliveryDialogTest, OpensOnTheCurrentFolderWithTheHistoriesAndTheLabelButton) {
    workspace.settings.setText(1, u"平成16年度"_s);
    workspace.settings.setText(3, u"平成15年度"_s); // a gap is skipped
    workspace.settings.setText(51, u"一級河川"_s);
    writeBytes(out.filePath(u"second.dat"_s), "x");
    writeBytes(out.filePath(u"photo.jpg"_s), "x");
    frmXML dialog(workspace, prompts);

    EXPECT_EQ(dialog.windowTitle(), u"電子納品"_s);
    EXPECT_EQ(child<QLabel>(dialog, u"LPath"_s)->text(), QDir::toNativeSeparators(out.path()));
    EXPECT_EQ(items(child<QListWidget>(dialog, u"File1"_s)), QStringList{u"second.dat"_s});
    auto* year = child<QComboBox>(dialog, u"Cmb1(0)"_s);
    EXPECT_EQ(year->count(), 2);
    EXPECT_EQ(year->itemText(1), u"平成15年度"_s);
    EXPECT_EQ(year->currentText(), QString());
    EXPECT_EQ(child<QComboBox>(dialog, u"Cmb2(0)"_s)->itemText(0), u"一級河川"_s);
    EXPECT_NE(dialog.findChild<QComboBox*>(u"Cmb1(8)"_s), nullptr);
    EXPECT_NE(dialog.findChild<QComboBox*>(u"Cmb2(3)"_s), nullptr);
    const QString sub = out.filePath(u"工事1"_s);
    QDir().mkpath(sub);
    writeBytes(sub + u"/third.DAT"_s, "x");
    auto* DirX = child<QTreeView>(dialog, u"DirX"_s);
    DirX->setCurrentIndex(static_cast<QFileSystemModel*>(DirX->model())->index(sub));
    EXPECT_EQ(workspace.CurrentFolder, sub);
    EXPECT_EQ(child<QLabel>(dialog, u"LPath"_s)->text(), QDir::toNativeSeparators(sub));
    EXPECT_EQ(items(child<QListWidget>(dialog, u"File1"_s)), QStringList{u"third.DAT"_s});

    auto* label = child<QPushButton>(dialog, u"Command3"_s);
    EXPECT_EQ(label->text(), u"ラベル"_s);
    EXPECT_TRUE(label->isEnabled());
}

TEST_F(DeliveryDialogTest, ListedFilesComeFromTheFileListAndFromDropsAndGoAgainByOpen) {
    writeBytes(out.filePath(u"one.dat"_s), "x");
    writeBytes(out.filePath(u"two.dat"_s), "x");
    const QString dropped = source.filePath(u"dropped.dat"_s);
    writeBytes(dropped, "x");
    frmXML dialog(workspace, prompts);
    auto* File1 = child<QListWidget>(dialog, u"File1"_s);
    auto* List1 = child<QListWidget>(dialog, u"List1"_s);
    File1->selectAll();
    child<QPushButton>(dialog, u"Command1"_s)->click();
    dialog.addDroppedFiles(
        {QUrl::fromLocalFile(dropped), QUrl::fromLocalFile(source.path()), QUrl(u"https://x/y.dat"_s)});
    EXPECT_EQ(items(List1), (QStringList{out.filePath(u"one.dat"_s), out.filePath(u"two.dat"_s), dropped}));

    List1->item(0)->setSelected(true);
    List1->item(2)->setSelected(true);
    child<QPushButton>(dialog, u"Command2"_s)->click();
    EXPECT_EQ(items(List1), QStringList{out.filePath(u"two.dat"_s)});
}

TEST_F(DeliveryDialogTest, ExportWritesTheFolderRemembersTheEntriesAndCloses) {
    frmXML dialog(workspace, prompts);
    child<QComboBox>(dialog, u"Cmb1(2)"_s)->setEditText(u"○○道路改良工事"_s);
    child<QComboBox>(dialog, u"Cmb2(3)"_s)->setEditText(u"12345"_s);
    child<QPushButton>(dialog, u"cmdOK"_s)->click();

    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text,
              u"電子納品を出力しました（写真 2 枚）。\n写真管理基準: PHOTO03 (土木200406-01)"_s);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(QDir(photoFolder() + u"/PIC"_s).entryList(QDir::Files).size(), 2);
    expectValidPhotoXml(photoFolder() + u"/PHOTO.XML"_s);
    EXPECT_EQ(workspace.settings.text(11), u"○○道路改良工事"_s);
    EXPECT_EQ(workspace.settings.text(66), u"12345"_s);
    EXPECT_EQ(workspace.settings.text(1), QString());
}

TEST_F(DeliveryDialogTest, AFailedExportSaysWhyKeepsTheHistoryAndCloses) {
    workspace.replaceRows(u"fill"_s, {photoRow(source.filePath(u"missing.jpg"_s), {})}, 1);
    frmXML dialog(workspace, prompts);
    child<QComboBox>(dialog, u"Cmb1(0)"_s)->setEditText(u"令和6年度"_s);
    child<QPushButton>(dialog, u"cmdOK"_s)->click();

    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessage().text.startsWith(
        u"エラー\n写真ファイルが見つかりません（1 件）\n写真帳 1 行目: "_s));
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Critical);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(workspace.settings.text(1), QString());
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));
}

TEST_F(DeliveryDialogTest, TheXmlButtonRefusesAnEmptySheetWithTheShortText) {
    workspace.replaceRows(u"clear"_s, {}, 0);
    frmMain window(workspace, prompts);
    window.findChild<QPushButton*>(u"CMDXML"_s)->click();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, SheetGuard::NoDataShort);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
}

TEST_F(DeliveryDialogTest, TheXmlButtonOpensTheDialog) {
    frmMain window(workspace, prompts);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = window.findChild<frmXML*>()) {
            opened = dialog->isVisible();
            dialog->reject();
        }
    });
    window.findChild<QPushButton*>(u"CMDXML"_s)->click();
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

// What the old PHOTO folder holds that no export made goes only when the user says Yes; the
// open album kept inside it is refused outright.
TEST_F(DeliveryDialogTest, ThePreviousFolderLosesNothingTheUserDidNotAgreeTo) {
    const auto exportOnce = [&](std::deque<Prompts::Answer> answers) {
        prompts.messages.clear();
        prompts.answers = std::move(answers);
        frmXML dialog(workspace, prompts);
        dialog.setResult(-1); // still open unless the export accepts or rejects it
        child<QPushButton>(dialog, u"cmdOK"_s)->click();
        return dialog.result();
    };
    ASSERT_EQ(exportOnce({}), QDialog::Accepted);
    const QString memo = photoFolder() + u"/DRA/plan.pdf"_s;
    writeBytes(memo, "drawing");

    EXPECT_EQ(exportOnce({Prompts::Answer::No}), -1);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(prompts.lastMessage().text, DeliveryExport::cancelledText(out.path()));
    EXPECT_TRUE(prompts.lastMessage().text.endsWith(u"以前の PHOTO フォルダは変更していません。"_s));
    const Prompts::Message question = prompts.messages[0].message;
    EXPECT_TRUE(question.text.contains(u"DRA/plan.pdf"_s)) << question.text.toStdString();
    EXPECT_FALSE(question.text.contains(u"P0000001.JPG"_s)) << question.text.toStdString();
    EXPECT_TRUE(question.text.endsWith(DeliveryExport::RemoveAsk));
    EXPECT_EQ(question.buttons, Prompts::Buttons::YesNo);
    EXPECT_EQ(question.defaultAnswer, Prompts::Answer::No);
    EXPECT_EQ(readBytes(memo), "drawing");
    EXPECT_EQ(exportOnce({Prompts::Answer::Yes}), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(memo));

    workspace.AlbumFilePath = photoFolder() + u"/album.dat"_s;
    writeBytes(workspace.AlbumFilePath, "album");
    EXPECT_EQ(exportOnce({Prompts::Answer::Yes}), QDialog::Rejected);
    EXPECT_TRUE(prompts.lastMessage().text.contains(ReplaceCheck::AlbumsInside));
    EXPECT_TRUE(prompts.lastMessage().text.contains(workspace.AlbumFilePath));
    EXPECT_EQ(readBytes(workspace.AlbumFilePath), "album");
}

// The old standard writes what the current check calls errors, but only after showing them
// and asking.
TEST_F(DeliveryDialogTest, TheOldStandardListsItsWarningsAndAsksBeforeWriting) {
    QStringList marked = info03();
    marked[9] = u"①号桝"_s;
    writeBytes(source.filePath(u"scan.jpg"_s), pictureBytes({1600, 1200}, "PNG"));
    workspace.replaceRows(u"fill"_s, {photoRow(source.filePath(u"scan.jpg"_s), marked)}, 1);
    frmXML dialog(workspace, prompts);
    dialog.setResult(-1);
    prompts.answers = {Prompts::Answer::No};
    child<QPushButton>(dialog, u"cmdOK"_s)->click();

    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(prompts.lastMessage().text, u"電子納品の出力を中止しました。"_s) << "no folder was there";
    const Prompts::Message question = prompts.messages[0].message;
    EXPECT_TRUE(question.text.startsWith(u"電子納品のチェックで警告が 2 件あります"_s))
        << question.text.toStdString();
    EXPECT_TRUE(question.text.endsWith(DeliveryExport::WarningsAsk));
    EXPECT_EQ(question.defaultAnswer, Prompts::Answer::Yes);
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));
    auto* list = child<QTableWidget>(dialog, u"SSCheck"_s);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_TRUE(list->item(0, 2)->text().startsWith(u"警告: "_s));
    EXPECT_TRUE(list->item(0, 2)->text().contains(u"PNG"_s));
    EXPECT_TRUE(list->item(1, 2)->text().contains(u"「①」機種依存文字"_s));

    prompts.answers = {Prompts::Answer::Yes};
    child<QPushButton>(dialog, u"cmdOK"_s)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.lastMessage().text.endsWith(u"PHOTO03 (土木200406-01)"_s));
    EXPECT_TRUE(QFileInfo::exists(photoFolder() + u"/PIC/P0000001.JPG"_s));
}

// Both questions of an export come while its photos wait to be copied, the first on a one-row
// album before the progress window's delay is over. Each is the real message box, answered by a
// click as a user gives it after reading it; the progress window must neither cover nor block it.
TEST_F(DeliveryDialogTest, TheQuestionsInMidExportTakeTheUsersClick) {
    {
        frmXML first(workspace, prompts);
        child<QPushButton>(first, u"cmdOK"_s)->click();
    }
    const QString memo = photoFolder() + u"/DRA/plan.pdf"_s;
    writeBytes(memo, "drawing");
    QStringList marked = info03();
    marked[9] = u"①号桝"_s;
    writeBytes(source.filePath(u"scan.jpg"_s), pictureBytes({1600, 1200}, "PNG"));
    workspace.replaceRows(u"fill"_s, {photoRow(source.filePath(u"scan.jpg"_s), marked)}, 1);

    QWidget mainWindow;
    mainWindow.show();
    QtPrompts real(&mainWindow);
    frmXML dialog(workspace, real, &mainWindow);
    dialog.setModal(true);
    dialog.show();
    MessageBoxAnswerer user(std::chrono::milliseconds(700));
    user.answers = {QMessageBox::Yes, QMessageBox::Yes, QMessageBox::Ok};
    child<QPushButton>(dialog, u"cmdOK"_s)->click();

    ASSERT_EQ(user.answered.size(), 3) << user.answered.join(u'|').toStdString();
    EXPECT_TRUE(user.answered[0].startsWith(u"電子納品のチェックで警告が 2 件あります"_s));
    EXPECT_TRUE(user.answered[1].endsWith(DeliveryExport::RemoveAsk));
    EXPECT_TRUE(user.answered[2].startsWith(u"電子納品を出力しました（写真 1 枚）。"_s));
    EXPECT_TRUE(user.blocked.isEmpty()) << "a click did not reach: " << user.blocked.join(u'|').toStdString();
    EXPECT_TRUE(user.covered.isEmpty()) << "not on top: " << user.covered.join(u'|').toStdString();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(QFileInfo::exists(memo));
    EXPECT_TRUE(QFileInfo::exists(photoFolder() + u"/PIC/P0000001.JPG"_s));
}
