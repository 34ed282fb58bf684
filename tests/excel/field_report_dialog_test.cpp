#include "excel/album_excel.h"
#include "excel/field_report.h"
#include "excel/ui/field_report_dialog.h"
#include "support/progress_stopper.h"
#include "support/workbook_dialog_fixture.h"
#include "workspace/workspace.h"
#include "xlsx/workbook.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Fixture : WorkbookDialogFixture {
    explicit Fixture(int storedKind = 0) {
        QList<AlbumRow> rows(3);
        rows[0].info = u"12-3-45\r\n二\r\n"_s;
        for (AlbumRow& row : rows)
            row.path = photo;
        setRows(rows);
        workspace.CurrentFolder = dir.path();
        workspace.settings.setItem(SettingItem::FieldReportKind, SettingValue::number(storedKind));
    }
    QString out() const { return dir.filePath(u"out.xlsx"_s); }
    int storedKind() const { return workspace.settings.itemInt(SettingItem::FieldReportKind); }
};

QRadioButton* option(QDialog& dialog, int index) {
    return dialog.findChild<QRadioButton*>(u"Option1(%1)"_s.arg(index));
}
void pressOk(QDialog& dialog) {
    dialog.findChild<QPushButton*>(u"OKButton"_s)->click();
}

} // namespace

TEST(DialogGentou, SheetNameOnlyForASheetAPageAndRefusedEmptyOrUnusable) {
    Fixture f(2);
    DialogGentou dialog(f.workspace, f.prompts, f.opener);
    dialog.show();
    auto* text1 = dialog.findChild<QLineEdit*>(u"Text1"_s);
    EXPECT_EQ(text1->text(), u"12-3"_s) << "row 1's line 1 before its second dash";
    EXPECT_TRUE(option(dialog, 2)->isChecked()) << "the stored kind is chosen";
    for (int index = 0; index < 7; ++index) {
        option(dialog, index)->click();
        EXPECT_EQ(text1->isEnabled(), index == 1) << index;
    }
    option(dialog, 1)->click();

    text1->clear();
    pressOk(dialog);
    ASSERT_EQ(f.prompts.messages.size(), 1);
    EXPECT_EQ(f.prompts.lastMessage().text, FieldReport::NoSheetName);
    EXPECT_TRUE(f.prompts.fileRequests.isEmpty()) << "refused before the save dialog";

    text1->setText(u"A/B"_s);
    f.prompts.savePaths.push_back(f.out());
    pressOk(dialog);
    ASSERT_EQ(f.prompts.messages.size(), 2);
    EXPECT_TRUE(f.prompts.lastMessage().text.contains(u"A/B"_s)) << "the message names the field";
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(QFileInfo::exists(f.out()));
    EXPECT_EQ(f.storedKind(), 2);
}

TEST(DialogGentou, CancelledSaveStaysOpenAndASuccessfulRunStoresTheKind) {
    Fixture f;
    DialogGentou dialog(f.workspace, f.prompts, f.opener);
    dialog.show();
    option(dialog, 5)->click();
    pressOk(dialog);
    ASSERT_EQ(f.prompts.fileRequests.size(), 1);
    EXPECT_EQ(f.prompts.fileRequests[0].name, u"境界点写真.xlsx"_s);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(f.opener.opened.isEmpty());
    EXPECT_EQ(f.storedKind(), 0);

    f.prompts.savePaths.push_back(f.out());
    pressOk(dialog);
    ASSERT_EQ(f.prompts.messages.size(), 1);
    EXPECT_EQ(f.prompts.lastMessage().text,
              u"ブックを保存しました。\r\n"_s + QDir::toNativeSeparators(f.out()));
    EXPECT_EQ(f.opener.opened, QStringList{f.out()});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(f.storedKind(), 5);
    Workbook book = Workbook::open(f.out());
    EXPECT_EQ(book.sheetName(1), u"境界点写真"_s);
    EXPECT_EQ(book.pictures().size(), 3);
}

TEST(DialogGentou, FailedRunNamesThePhotoRowAndStoresNothing) {
    Fixture f;
    f.workspace.SS1.setText(2, AlbumColumn::Path, f.dir.filePath(u"gone.jpg"_s));
    DialogGentou dialog(f.workspace, f.prompts, f.opener);
    int failedRow = 0;
    QObject::connect(&dialog, &DialogGentou::photoRowFailed, [&](int row) { failedRow = row; });
    option(dialog, 3)->click();
    f.prompts.savePaths.push_back(f.out());
    pressOk(dialog);
    ASSERT_EQ(f.prompts.messages.size(), 1);
    EXPECT_EQ(f.prompts.lastMessage().text, ReportPipeline::PhotoFailed);
    EXPECT_EQ(failedRow, 2);
    EXPECT_FALSE(QFileInfo::exists(f.out()));
    EXPECT_TRUE(f.opener.opened.isEmpty());
    EXPECT_EQ(f.storedKind(), 0);
}

// A long run shows its progress under the dialog's title and stops at 中止 as the user clicks
// it: nothing is written, the dialog says so and stays for another try.
TEST(DialogGentou, ALongRunShowsItsProgressAndStopsAtTheStopButton) {
    Fixture f;
    f.setRows(f.manyPhotoRows(200));
    DialogGentou dialog(f.workspace, f.prompts, f.opener);
    dialog.show();
    ProgressStopper user(u"Progress"_s);
    f.prompts.savePaths.push_back(f.out());
    pressOk(dialog);
    EXPECT_EQ(user.title, u"現地踏査出力"_s);
    EXPECT_EQ(user.buttonText, u"中止"_s);
    ASSERT_EQ(f.prompts.messages.size(), 1);
    EXPECT_EQ(f.prompts.lastMessage().text, Cancelled::NothingWritten);
    EXPECT_FALSE(QFileInfo::exists(f.out()));
    EXPECT_TRUE(f.opener.opened.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
}
