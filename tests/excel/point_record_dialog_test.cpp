#include "base/prompts.h"
#include "excel/ui/point_record_dialog.h"
#include "support/progress_stopper.h"
#include "support/workbook_dialog_fixture.h"
#include "workspace/workspace.h"
#include "xlsx/workbook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Fixture : WorkbookDialogFixture {
    Fixture() {
        QList<AlbumRow> rows(1);
        rows[0].info = u"K1\r\n"_s;
        rows[0].path = photo;
        setRows(rows);
        workspace.settings.setItem(SettingItem::PointRecordWorkName, SettingValue::string(u"前回の作業"_s));
    }
};

} // namespace

TEST(DialogTen4, ShowsStoredFieldsChoosesSimaAndWritesWithTypedMarker) {
    Fixture f;
    const QString sima = f.dir.filePath(u"a.SIM"_s);
    QFile file(sima);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("A01,1,K1,1234.5625,-20.25,,\r\n");
    file.close();
    {
        DialogTen4 dialog(f.workspace, f.prompts, f.opener);
        EXPECT_EQ(dialog.findChild<QLineEdit*>(u"Text2"_s)->text(), u"前回の作業"_s);
        auto* marker = dialog.findChild<QComboBox*>(u"Cmb1"_s);
        EXPECT_EQ(marker->count(), 13);
        EXPECT_EQ(marker->currentText(), QString());
        f.prompts.openPaths.push_back(sima);
        dialog.findChild<QPushButton*>(u"Command1"_s)->click();
        EXPECT_EQ(f.prompts.fileRequests.constLast().title, u"SIMAファイルを開く"_s);
        EXPECT_EQ(f.prompts.fileRequests.constLast().filter, u"SIMAﾌｧｲﾙ(*.SIM)|*.SIM"_s);
        // The dialog shows each letter case once.
        EXPECT_EQ(qtNameFilters(f.prompts.fileRequests.constLast().filter),
                  QStringList{u"SIMAﾌｧｲﾙ (*.SIM *.sim)"_s});
        EXPECT_EQ(dialog.findChild<QLineEdit*>(u"SimaNM"_s)->text(), sima);
        dialog.findChild<QPushButton*>(u"Command1"_s)->click(); // cancelled: the file stays
        EXPECT_EQ(dialog.findChild<QLineEdit*>(u"SimaNM"_s)->text(), sima);

        dialog.findChild<QLineEdit*>(u"Text5"_s)->setText(u"検査者"_s);
        dialog.findChild<QCheckBox*>(u"Chk1"_s)->setChecked(true);
        marker->setEditText(u"自由杭"_s);
        dialog.findChild<QPushButton*>(u"OKButton"_s)->click(); // save cancelled: stays open
        EXPECT_TRUE(f.opener.opened.isEmpty());
        f.prompts.savePaths.push_back(f.dir.filePath(u"out.xlsx"_s));
        dialog.findChild<QPushButton*>(u"OKButton"_s)->click();
        ASSERT_EQ(f.opener.opened.size(), 1);
    }
    EXPECT_EQ(f.workspace.settings.itemText(SettingItem::PointRecordInspector), u"検査者"_s);
    EXPECT_TRUE(f.workspace.settings.itemIsOn(SettingItem::PointRecordHeightOn));
    Workbook book = Workbook::open(f.dir.filePath(u"out.xlsx"_s));
    EXPECT_EQ(book.cellText(4, 9), u"自由杭"_s);
    EXPECT_EQ(book.cellText(33, 20), u"検査者"_s);
    EXPECT_DOUBLE_EQ(book.cellText(6, 4).toDouble(), 1234.563);

    DialogTen4 again(f.workspace, f.prompts, f.opener); // the SIMA file is remembered
    EXPECT_EQ(again.findChild<QLineEdit*>(u"SimaNM"_s)->text(), sima);
}

TEST(DialogTen4, ALongRunShowsItsProgressAndStopsAtTheStopButton) {
    Fixture f;
    f.setRows(f.manyPhotoRows(200));
    DialogTen4 dialog(f.workspace, f.prompts, f.opener);
    dialog.show();
    ProgressStopper user(u"Progress"_s);
    const QString out = f.dir.filePath(u"out.xlsx"_s);
    f.prompts.savePaths.push_back(out);
    dialog.findChild<QPushButton*>(u"OKButton"_s)->click();
    EXPECT_EQ(user.title, u"点の記４点EXCEL出力"_s);
    EXPECT_EQ(user.buttonText, u"中止"_s);
    ASSERT_EQ(f.prompts.messages.size(), 1);
    EXPECT_EQ(f.prompts.lastMessage().text, Cancelled::NothingWritten);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_TRUE(f.opener.opened.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
}
