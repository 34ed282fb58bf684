#include "excel/album_excel.h"
#include "excel/ui/album_excel_dialog.h"
#include "support/workbook_dialog_fixture.h"
#include "test_paths.h"
#include "workspace/workspace.h"
#include "xlsx/workbook.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Fixture : WorkbookDialogFixture {
    Fixture() {
        QList<AlbumRow> rows(2);
        rows[0].info = u"一行目\r\n"_s;
        rows[0].path = photo;
        rows[1].info = u"二行目\r\n"_s;
        rows[1].path = dir.filePath(u"gone.jpg"_s);
        setRows(rows);
        workspace.settings.setItem(SettingItem::PaperLayout, SettingValue::number(1));
    }
};

} // namespace

TEST(EXOUTDialog, BadPhotoIsNamedTheCursorMovesAndFieldsAreStored) {
    Fixture f;
    EXOUTDialog dialog(f.workspace, f.prompts, f.opener);
    int failedRow = 0;
    QObject::connect(&dialog, &EXOUTDialog::photoRowFailed, [&](int row) { failedRow = row; });
    dialog.findChild<QLineEdit*>(u"Text1"_s)->setText(u"表題"_s);
    f.prompts.savePaths.push_back(f.dir.filePath(u"out.xlsx"_s));
    dialog.findChild<QPushButton*>(u"Command1"_s)->click();
    ASSERT_EQ(f.prompts.messages.size(), 1);
    EXPECT_EQ(f.prompts.lastMessage().text, ReportPipeline::PhotoFailed);
    EXPECT_EQ(f.prompts.lastMessage().title, u"確認"_s);
    EXPECT_EQ(f.prompts.lastMessage().icon, Prompts::Icon::Exclamation);
    EXPECT_EQ(failedRow, 2);
    EXPECT_FALSE(QFileInfo::exists(f.dir.filePath(u"out.xlsx"_s)));
    EXPECT_TRUE(f.opener.opened.isEmpty());
    EXPECT_EQ(f.workspace.settings.itemText(SettingItem::FreeTitleText), u"表題"_s);
}

TEST(EXOUTDialog, FixedRunSavesWhereAskedAndOpensTheWorkbook) {
    Fixture f;
    f.workspace.SS1.setText(2, AlbumColumn::Path, QString());
    QDir(f.dir.path()).mkdir(u"albums"_s);
    f.workspace.AlbumFilePath = f.dir.filePath(u"albums/現場.dat"_s);
    f.workspace.CurrentFolder = f.dir.path();
    EXOUTDialog dialog(f.workspace, f.prompts, f.opener);
    const QString out = f.dir.filePath(u"写真帳.xlsx"_s);
    f.prompts.savePaths.push_back(out);
    f.opener.works = false;
    dialog.findChild<QPushButton*>(u"Command1"_s)->click();
    ASSERT_EQ(f.prompts.fileRequests.size(), 1);
    EXPECT_EQ(f.prompts.fileRequests[0].folder, f.dir.filePath(u"albums"_s)) << "beside the album file";
    EXPECT_EQ(f.prompts.fileRequests[0].name, u"写真帳.xlsx"_s) << "named after the template";
    EXPECT_EQ(f.opener.opened, QStringList{out});
    ASSERT_EQ(f.prompts.messages.size(), 1) << "nothing could open it: the message names the file";
    EXPECT_TRUE(f.prompts.lastMessage().text.contains(u"写真帳.xlsx"_s));
    Workbook book = Workbook::open(out);
    EXPECT_EQ(book.sheetName(1), u"写真帳A4"_s);
    EXPECT_EQ(book.cellText(3, 5), u"一行目"_s);
}

TEST(EXOUTDialog, FreeRefusalsKeepTheDialogOpenAndEnterRecallsAPhrase) {
    Fixture f;
    EXOUTDialog dialog(f.workspace, f.prompts, f.opener);
    f.workspace.phrases.setPhrase(12, u"phrase 12"_s);
    dialog.show();
    f.workspace.settings.setItem(SettingItem::FreeTemplatePath, SettingValue::string(u"*"_s));
    dialog.findChild<QPushButton*>(u"Command2"_s)->click();
    f.workspace.settings.setItem(SettingItem::FreeTemplatePath,
                                 SettingValue::string(f.dir.filePath(u"no.xlsx"_s)));
    dialog.findChild<QPushButton*>(u"Command2"_s)->click();
    ASSERT_EQ(f.prompts.messages.size(), 2);
    EXPECT_EQ(f.prompts.messages[0].message.text, AlbumExcel::NoFreeTemplate);
    EXPECT_EQ(f.prompts.messages[1].message.text, AlbumExcel::FreeTemplateMissing);
    EXPECT_TRUE(dialog.isVisible());

    auto* text1 = dialog.findChild<QLineEdit*>(u"Text1"_s);
    for (const auto& [typed, shown] :
         {std::pair{u"*12"_s, u"phrase 12"_s}, {u"*501"_s, u"*501"_s}, {u"*0"_s, u"*0"_s}}) {
        text1->setText(typed);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(text1, &enter);
        EXPECT_EQ(text1->text(), shown);
    }
    dialog.close();
    EXPECT_EQ(f.workspace.settings.itemText(SettingItem::FreeTitleText), u"*0"_s);
}

TEST(ExcelCommand, WritesTheWorkbookOrNothingAndSaysWhy) {
    Fixture f;
    QFile csv(f.dir.filePath(u"l.csv"_s));
    csv.open(QIODevice::WriteOnly);
    csv.write("h\r\na,b,p.jpg\r\nc,d,gone.jpg\r\n");
    csv.close();
    const auto run = [&](const QStringList& args, QString* err = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"TOVENLA_HOME"_s, f.dir.path());
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TOVENLA_EXECUTABLE), args);
        p.waitForFinished(60000);
        if (err) *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitCode();
    };
    ASSERT_EQ(run({u"import-csv"_s, csv.fileName(), f.dir.filePath(u"a.dat"_s)}), 0);
    QString err;
    const QString out = f.dir.filePath(u"o.xlsx"_s);
    EXPECT_EQ(run({u"excel"_s, f.dir.filePath(u"a.dat"_s), out, u"--paper"_s, u"a3"_s}, &err), 1);
    EXPECT_TRUE(err.contains(u"写真が呼出せません。"_s) && err.contains(u"2: "_s) &&
                err.contains(u"gone.jpg"_s))
        << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(run({u"excel"_s, f.dir.filePath(u"a.dat"_s), out, u"--paper"_s, u"b5"_s}), 1);
    EXPECT_EQ(run({u"excel"_s, f.dir.filePath(u"a.dat"_s), out, u"--free"_s}, &err), 1);
    EXPECT_TRUE(err.contains(AlbumExcel::NoFreeTemplate)) << err.toStdString();

    QFile::copy(f.dir.filePath(u"p.jpg"_s), f.dir.filePath(u"gone.jpg"_s));
    EXPECT_EQ(run({u"excel"_s, f.dir.filePath(u"a.dat"_s), out, u"--paper"_s, u"a3"_s}), 0);
    Workbook book = Workbook::open(out);
    EXPECT_EQ(book.sheetName(1), u"写真帳A3"_s);
    EXPECT_EQ(book.pictures().size(), 2);
}
