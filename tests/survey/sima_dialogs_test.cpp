#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/real_estate_report.h"
#include "survey/ui/parcel_import_dialog.h"
#include "survey/ui/parcel_list_dialog.h"
#include "workspace/workspace.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class SimaDialogsTest : public testing::Test {
protected:
    SimaDialogsTest() {
        workspace.settings = Settings::defaults();
        workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(0));
        workspace.settings.setItem(SettingItem::NearSuffix, SettingValue::string(u"_N"_s));
        workspace.settings.setItem(SettingItem::FarSuffix, SettingValue::string(u"_F"_s));
    }
    QString file(const QString& name, const QString& text) {
        writeBytes(dir.filePath(name), cp932(text));
        return dir.filePath(name);
    }
    template <typename T> T* child(QWidget& dialog, const QString& name) {
        T* widget = dialog.findChild<T*>(name);
        EXPECT_TRUE(widget) << name.toStdString();
        return widget;
    }
    void click(QWidget& dialog, const QString& name) { child<QPushButton>(dialog, name)->click(); }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    const QString sima =
        file(u"site.SIM"_s, u"D00,1,1-2,1,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\nB01,3,ZTP3,\r\nB01,4,K4,\r\n"
                            u"D00,2,7,1,\r\nB01,5,ZT1,\r\nB01,6,P9,\r\nD99,\r\n"_s);
    const QString pm = file(u"pm.csv"_s, u"ZT1   ,1\r\n"_s);
};

} // namespace

TEST_F(SimaDialogsTest, BoundaryImportFillsTheAlbumAsOneUndoableCommand) {
    workspace.settings.setItem(SettingItem::SimaPhotoFolder, SettingValue::string(u"/photos/"_s));
    workspace.settings.setItem(SettingItem::ParcelInfoLine1, SettingValue::string(u"確認"_s));
    workspace.replaceRows(u"before"_s, {AlbumRow{{}, u"old\r\n"_s, {}, u"/old.jpg"_s}}, 0);
    DialogSIMA dialog(workspace, prompts);
    EXPECT_EQ(dialog.windowTitle(), DialogSIMA::Caption);
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text1"_s)->text(), u"/photos/"_s);

    // Before any file: the warning, nothing changes.
    click(dialog, u"OKButton"_s);
    EXPECT_EQ(prompts.lastMessage().text, u"画地がありません。先ずはSIMAファイルを呼び出してください。"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"警告"_s);
    EXPECT_EQ(workspace.SS1.rows().size(), 1);

    prompts.openPaths = {pm, sima};
    click(dialog, u"Command1"_s);
    ASSERT_EQ(prompts.fileRequests.size(), 2);
    EXPECT_EQ(prompts.fileRequests[0].title, u"PMファイル選択"_s);
    EXPECT_EQ(prompts.fileRequests[1].title, u"SIAMファイル選択"_s);
    EXPECT_EQ(prompts.fileRequests[1].filter, u"SIMAﾌｧｲﾙ (*.sim)|*.sim"_s);
    EXPECT_EQ(dialog.boundaryPoints().size(), 3);
    EXPECT_EQ(child<QLabel>(dialog, u"STB1Panel1"_s)->text(), u"SIMA画地呼出完了！"_s);
    EXPECT_EQ(child<QLabel>(dialog, u"STB1Panel2"_s)->text(), u"3"_s);

    // A cancelled first choice starts no load and keeps what was loaded.
    click(dialog, u"Command1"_s);
    EXPECT_EQ(dialog.boundaryPoints().size(), 3);
    EXPECT_EQ(child<QLabel>(dialog, u"STB1Panel2"_s)->text(), u"3"_s);

    // The folder choice ends with its separator; a cancelled one changes nothing.
    prompts.folders = {u"/photos/new"_s, QString()};
    click(dialog, u"Command2"_s);
    EXPECT_EQ(prompts.folderTitles.constLast(), u"写真フォルダーを指示。ファイル名は無視します。"_s);
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text1"_s)->text(), u"/photos/new/"_s);
    click(dialog, u"Command2"_s);
    EXPECT_EQ(child<QLineEdit>(dialog, u"Text1"_s)->text(), u"/photos/new/"_s);
    child<QLineEdit>(dialog, u"Text1"_s)->setText(u"/photos/"_s);

    child<QLineEdit>(dialog, u"Text5"_s)->setText(u"K"_s);
    child<QLineEdit>(dialog, u"Text3"_s)->setText(u"立会済"_s);
    click(dialog, u"OKButton"_s);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(workspace.SS1.dataRowCount(), 6);
    EXPECT_EQ(workspace.SS1.text(1, 2), u"確認\r\nZT1\r\n有り\r\n国及県石杭・金属標\r\n1-2\r\n"_s);
    EXPECT_EQ(workspace.SS1.text(3, 2), u"確認\r\nZT2\r\n有り\r\n市石杭\r\n1-2\r\n"_s);
    EXPECT_EQ(workspace.SS1.text(5, 2), u"確認\r\nZT1\r\n有り\r\n国及県石杭・金属標\r\n7\r\n"_s);
    EXPECT_EQ(workspace.SS1.text(2, 4), u"/photos/KZT1_F.jpg"_s);
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_EQ(workspace.AlbumRowCount, 6);
    EXPECT_EQ(workspace.LastNewRow, 6);
    EXPECT_EQ(workspace.settings.itemText(SettingItem::PointCodePrefix), u"K"_s);
    EXPECT_EQ(workspace.settings.itemText(SettingItem::ParcelWitness), u"立会済"_s);

    workspace.undoStack.undo();
    EXPECT_EQ(workspace.SS1.text(1, 4), u"/old.jpg"_s);
    EXPECT_EQ(workspace.SheetModified, 0);
}

// After a load that did not end, インポート finds nothing loaded, never the earlier file.
TEST_F(SimaDialogsTest, ALoadThatFailsLeavesNothingToImport) {
    const QString broken = dir.filePath(u"broken.sim"_s);
    writeBytes(broken, "D00,1,A,\r\nB01,1,ZT\x82\r\n");
    workspace.replaceRows(u"before"_s, {AlbumRow{{}, u"old\r\n"_s, {}, u"/old.jpg"_s}}, 0);
    DialogSIMA dialog(workspace, prompts);
    const auto loadsAndFails = [&](std::deque<QString> paths, const QString& failure) {
        prompts.openPaths = {pm, sima};
        click(dialog, u"Command1"_s);
        ASSERT_EQ(dialog.boundaryPoints().size(), 3);
        prompts.openPaths = std::move(paths);
        click(dialog, u"Command1"_s);
        EXPECT_TRUE(dialog.boundaryPoints().isEmpty());
        EXPECT_TRUE(child<QLabel>(dialog, u"STB1Panel2"_s)->text().isEmpty());
        if (!failure.isEmpty()) {
            EXPECT_EQ(prompts.lastMessage().title, u"エラー"_s);
            EXPECT_TRUE(prompts.lastMessage().text.contains(failure))
                << prompts.lastMessage().text.toStdString();
        }
        click(dialog, u"OKButton"_s);
        EXPECT_EQ(prompts.lastMessage().text, SimaReader::NoParcelsLoaded);
        EXPECT_EQ(prompts.lastMessage().title, u"警告"_s);
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(workspace.SS1.text(1, 4), u"/old.jpg"_s);
    };
    loadsAndFails({pm, broken}, u"broken.sim"_s);
    loadsAndFails({pm, dir.filePath(u"gone.sim"_s)}, u"gone.sim"_s);
    loadsAndFails({dir.filePath(u"gone.csv"_s)}, u"gone.csv"_s);
    loadsAndFails({pm}, {}); // the SIMA file's choice cancelled
    loadsAndFails({pm, file(u"none.sim"_s, u"D00,1,A,\r\nB01,1,K1,\r\n"_s)}, SimaReader::NoParcels);

    // The parcel list empties its list the same way.
    RecordingOpener opener;
    DialogSIMA2 list(workspace, prompts, opener);
    prompts.openPaths = {sima, broken};
    click(list, u"Command1"_s);
    ASSERT_EQ(child<QTableWidget>(list, u"vSS1"_s)->rowCount(), 2);
    click(list, u"Command1"_s);
    EXPECT_EQ(child<QTableWidget>(list, u"vSS1"_s)->rowCount(), 0);
    click(list, u"ZS"_s);
    click(list, u"OKButton"_s);
    EXPECT_EQ(prompts.lastMessage().text, SimaReader::NoParcelsLoaded);
    EXPECT_EQ(workspace.SS1.text(1, 4), u"/old.jpg"_s);
}

TEST_F(SimaDialogsTest, ParcelListImportsTheSelectedParcels) {
    RecordingOpener opener;
    DialogSIMA2 dialog(workspace, prompts, opener);
    EXPECT_EQ(dialog.windowTitle(), DialogSIMA2::Caption);
    EXPECT_EQ(child<QTableWidget>(dialog, u"YMN"_s)->item(0, 0)->text(),
              QDate::currentDate().toString(u"yyyy/MM/dd"_s));
    EXPECT_TRUE(child<QRadioButton>(dialog, u"Opt1(0)"_s)->isChecked());
    EXPECT_EQ(child<QPushButton>(dialog, u"CancelButton"_s)->text(), u"ｷｬﾝｾﾙ"_s);

    click(dialog, u"Command3"_s);
    EXPECT_EQ(prompts.lastMessage().text, u"画地がありません。先ずはSIMAファイルを呼び出してください。"_s);

    prompts.openPaths = {sima};
    click(dialog, u"Command1"_s);
    auto* list = child<QTableWidget>(dialog, u"vSS1"_s);
    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->item(0, 0)->text(), u"1-2"_s);
    EXPECT_EQ(list->item(0, 1)->text(), u"4"_s);
    EXPECT_EQ(list->item(1, 1)->text(), u"2"_s);

    click(dialog, u"OKButton"_s);
    EXPECT_EQ(prompts.lastMessage().text, RealEstateReport::NoParcelChosen);
    EXPECT_EQ(prompts.lastMessage().title, u"警告"_s);
    click(dialog, u"ZS"_s);
    EXPECT_EQ(dialog.selectedParcels(), (QList<int>{1, 2}));
    click(dialog, u"ZK"_s);
    EXPECT_TRUE(dialog.selectedParcels().isEmpty());
    list->selectRow(1);
    child<QLineEdit>(dialog, u"Text1"_s)->setText(u"/f"_s);
    click(dialog, u"OKButton"_s);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(workspace.SS1.dataRowCount(), 2);
    EXPECT_EQ(workspace.SS1.text(1, 2), u"\r\nZT1\r\n\r\n\r\n7\r\n"_s);
    EXPECT_EQ(workspace.SS1.text(2, 4), u"/f/P9.jpg"_s);
    EXPECT_EQ(workspace.settings.itemText(SettingItem::SimaPhotoFolder), u"/f"_s);
}

TEST_F(SimaDialogsTest, ReportIsWrittenInThePhotoFolderAndOpened) {
    RecordingOpener opener;
    DialogSIMA2 dialog(workspace, prompts, opener);
    prompts.openPaths = {sima};
    click(dialog, u"Command1"_s);
    click(dialog, u"Command3"_s);
    EXPECT_EQ(prompts.lastMessage().text, RealEstateReport::NoParcelChosen);
    child<QTableWidget>(dialog, u"vSS1"_s)->selectRow(0);
    child<QLineEdit>(dialog, u"Text1"_s)->setText(dir.path());
    click(dialog, u"Command3"_s);
    const QString report = QDir(dir.path()).filePath(RealEstateReport::OutputName);
    ASSERT_EQ(opener.opened, QStringList{report});
    EXPECT_TRUE(QFileInfo::exists(report));
    // An existing report is replaced only when the user agrees.
    writeBytes(report, "keep");
    prompts.answers = {Prompts::Answer::No};
    click(dialog, u"Command3"_s);
    EXPECT_EQ(readBytes(report), "keep");
    EXPECT_EQ(opener.opened.size(), 1);

    child<QRadioButton>(dialog, u"Opt1(1)"_s)->setChecked(true);
    click(dialog, u"CancelButton"_s);
    EXPECT_EQ(workspace.settings.text(SettingText::RealEstateReportType), u"1"_s);
    EXPECT_EQ(workspace.settings.itemText(SettingItem::SimaPhotoFolder), dir.path());
    EXPECT_EQ(workspace.SS1.dataRowCount(), 0);
}
