#include "print/album_pages.h"
#include "print/ui/preview_window.h"
#include "print/ui/print_dialog.h"
#include "print/ui/printer_output.h"
#include "print_test_support.h"
#include "shell/ui/main_window.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class PreviewWindowTest : public testing::Test {
protected:
    void SetUp() override {
        workspace.settings = Settings::defaults();
        photo = writeTestPhoto(dir.path(), u"p.jpg"_s, 400, 300);
    }
    void addRows(int count, const QString& path) {
        QList<AlbumRow> rows = workspace.SS1.rows();
        for (int i = 0; i < count; ++i)
            rows.append(AlbumRow{{}, u"情報\r\n"_s, {}, path});
        workspace.SS1.setRows(rows);
        workspace.UpdateRowTotal();
    }
    template <typename W> static W* child(QWidget& window, const QString& name) {
        auto* found = window.findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    static QString panel(PVIEW& view) { return child<QLabel>(view, u"StatusBar1Panel1"_s)->text(); }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    QString photo;
};

TEST_F(PreviewWindowTest, PagesFlipWithinTheDocumentAndZoomStaysBetween5And150) {
    addRows(7, photo); // 3 A4 pages
    PVIEW view(workspace, prompts);
    EXPECT_EQ(view.windowTitle(), u"Zoom"_s);
    EXPECT_EQ(panel(view), u" 頁 1 / 3"_s);
    auto* next = child<QPushButton>(view, u"Cmdato"_s);
    auto* previous = child<QPushButton>(view, u"Cmdmae"_s);
    EXPECT_FALSE(previous->isEnabled());
    next->click();
    EXPECT_EQ(panel(view), u" 頁 2 / 3"_s);
    EXPECT_TRUE(previous->isEnabled());
    next->click();
    EXPECT_EQ(panel(view), u" 頁 3 / 3"_s);
    EXPECT_FALSE(next->isEnabled());
    previous->click();
    EXPECT_EQ(panel(view), u" 頁 2 / 3"_s);

    auto* zoomIn = child<QPushButton>(view, u"cmdZoom(0)"_s);
    auto* zoomOut = child<QPushButton>(view, u"cmdZoom(1)"_s);
    zoomIn->click();
    EXPECT_EQ(view.windowTitle(), u"Zoom 75%"_s);
    while (zoomIn->isEnabled())
        zoomIn->click();
    EXPECT_EQ(view.document().zoom(), 150);
    while (zoomOut->isEnabled())
        zoomOut->click();
    EXPECT_EQ(view.document().zoom(), 5);
    EXPECT_TRUE(zoomIn->isEnabled());
    EXPECT_EQ(view.windowTitle(), u"Zoom 5%"_s);
}

TEST_F(PreviewWindowTest, PlacementAndRowFailuresAreTold) {
    addRows(1, photo);
    workspace.settings.setItem(SettingItem::PhotoHeightMm, SettingValue::number(100));
    {
        PVIEW view(workspace, prompts);
        EXPECT_EQ(prompts.lastMessage().text, AlbumPages::CannotPlace);
        EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
        EXPECT_EQ(panel(view), u" 頁 0 / 0"_s);
        EXPECT_FALSE(child<QPushButton>(view, u"cmdToPrinter"_s)->isEnabled());
    }
    workspace.settings.setItem(SettingItem::PhotoHeightMm, SettingValue::string(u"０"_s));
    {
        PVIEW view(workspace, prompts);
        EXPECT_EQ(prompts.lastMessage().text, AlbumPages::NoFrame);
        EXPECT_EQ(view.document().PageCount(), 0);
    }
    workspace.settings.setItem(SettingItem::PhotoHeightMm, SettingValue::string(u"８０"_s));
    addRows(1, dir.path() + u"/gone.jpg"_s);
    PVIEW view(workspace, prompts);
    // The row and the file, as the command line names them.
    EXPECT_EQ(prompts.lastMessage().text,
              u"2 行目: 画像を読めません。\n"_s + dir.path() + u"/gone.jpg\nファイルが見つかりません"_s);
    EXPECT_EQ(prompts.lastMessage().title, u"エラー"_s);
    EXPECT_EQ(view.document().PageCount(), 1);
}

TEST_F(PreviewWindowTest, PdfButtonSavesTheBuiltPages) {
    addRows(4, photo);
    PVIEW view(workspace, prompts);
    const QString pdf = dir.path() + u"/saved.pdf"_s;
    prompts.savePaths.push_back(pdf);
    child<QPushButton>(view, u"CmdPdf"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text,
              u"PDFを保存しました（2 頁）。\r\n"_s + QDir::toNativeSeparators(pdf));
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Information);
    const auto pages = pdfPageCount(pdf);
    if (!pages) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_EQ(*pages, 2);
}

TEST_F(PreviewWindowTest, MainWindowRefusesAnEmptySheetWithTheShortText) {
    frmMain window(workspace, prompts);
    child<QPushButton>(window, u"CMDout"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, u"対象データがありません。"_s);
}

class PrintDialogTest : public PreviewWindowTest {
protected:
    void SetUp() override {
        PreviewWindowTest::SetUp();
        addRows(13, photo); // 5 A4 pages
        view = std::make_unique<PVIEW>(workspace, prompts);
        view->printer().setOutputFormat(QPrinter::PdfFormat);
        view->printer().setOutputFileName(dir.path() + u"/printed.pdf"_s);
        PrintJob job = view->job();
        dialog = std::make_unique<PriForm>(job, const_cast<PrintDocument&>(view->document()), view->printer(),
                                           InstalledPrinters{}, prompts);
    }
    void type(const QString& name, const QString& text) { child<QLineEdit>(*dialog, name)->setText(text); }

    std::unique_ptr<PVIEW> view;
    std::unique_ptr<PriForm> dialog;
};

TEST_F(PrintDialogTest, ShowsTheJobAndKeepsTheRangeInsideTheDocument) {
    EXPECT_EQ(child<QLabel>(*dialog, u"PSize"_s)->text(), u"A4"_s);
    EXPECT_EQ(child<QLabel>(*dialog, u"POri"_s)->text(), u"縦方向"_s);
    EXPECT_EQ(child<QLineEdit>(*dialog, u"Text2"_s)->text(), u"5"_s);
    type(u"Text1"_s, u"7"_s);
    EXPECT_EQ(dialog->FromPage(), 1);
    type(u"Text1"_s, u"abc"_s);
    EXPECT_EQ(dialog->FromPage(), 1);
    type(u"Text1"_s, u"3"_s);
    type(u"Text2"_s, u"2"_s);
    EXPECT_EQ(dialog->ToPage(), 5);
    type(u"Text2"_s, u"4"_s);
    EXPECT_EQ(dialog->ToPage(), 4);
    child<QRadioButton>(*dialog, u"Option1"_s)->click();
    EXPECT_EQ(dialog->FromPage(), 1);
    EXPECT_EQ(dialog->ToPage(), 5);
}

TEST_F(PrintDialogTest, OkPrintsTheRangeUnderTheJobName) {
    type(u"Text1"_s, u"3"_s);
    type(u"Text2"_s, u"2"_s); // becomes the last page
    child<QPushButton>(*dialog, u"Command1"_s)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(prompts.lastMessage().text, u"3～5 頁をプリンタに送りました。"_s);
    EXPECT_EQ(view->document().DocName, u"写真長印刷"_s);
    const auto pages = pdfPageCount(dir.path() + u"/printed.pdf"_s);
    if (!pages) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_EQ(*pages, 3);
}

TEST_F(PrintDialogTest, FromAfterToPrintsNothingAndSaysSo) {
    type(u"Text2"_s, u"2"_s);
    type(u"Text1"_s, u"4"_s); // not checked against "to" again
    child<QPushButton>(*dialog, u"Command1"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, PrintRange::Backwards);
    EXPECT_FALSE(QFile::exists(dir.path() + u"/printed.pdf"_s));
}

// A printer's job cannot be called back once pages went to it: a stop ends the job with the
// pages drawn, and says which those are; a stop before the first page opens no job at all.
TEST_F(PrintDialogTest, AStoppedPrintSendsThePagesDrawnAndSaysWhich) {
    const QString out = dir.path() + u"/printed.pdf"_s;
    const auto stopAt = [&](int page) {
        std::atomic_bool stop = false;
        return printPages(
            view->document(), view->printer(), 2, 5,
            Progress([&, page](const ProgressStep& step) { stop = step.done + 2 == page; }, &stop));
    };
    const PrintedPages none = stopAt(2);
    EXPECT_TRUE(none.stopped);
    EXPECT_EQ(none.text(), u"中止しました。プリンタには何も送っていません。"_s);
    EXPECT_FALSE(QFile::exists(out));

    const PrintedPages some = stopAt(4);
    EXPECT_EQ(some.last, 3);
    EXPECT_EQ(some.text(), u"中止しました。2～3 頁はプリンタに送りました。4～5 頁は送っていません。"_s);
    EXPECT_EQ(pdfPageCount(out).value_or(2), 2);
    EXPECT_EQ((PrintedPages{4, 5, 4, true, {}}.text()),
              u"中止しました。4 頁はプリンタに送りました。5 頁は送っていません。"_s);
    EXPECT_EQ((PrintedPages{4, 4, 4, false, {}}.text()), u"4 頁をプリンタに送りました。"_s);
}

// Settings brought from another computer may name a printer that is not here: the dialog says
// so, lets the user choose one, and prints on nothing else.
TEST_F(PreviewWindowTest, APrinterThatIsNotInstalledIsToldAndAnotherChosen) {
    addRows(1, photo);
    workspace.settings.setItem(SettingItem::PrinterName, SettingValue::string(u"OtherPC-Printer"_s));
    PVIEW view(workspace, prompts);
    QPrinter printer; // a real printer of the system, not a file
    PriForm dialog(view.job(), const_cast<PrintDocument&>(view.document()), printer,
                   InstalledPrinters{{u"Office-A"_s, u"Office-B"_s}, u"Office-A"_s}, prompts);
    auto* note = child<QLabel>(dialog, u"PrinterNote"_s);
    auto* ok = child<QPushButton>(dialog, u"Command1"_s);
    auto* choose = child<QPushButton>(dialog, u"CmdPrinter"_s);
    EXPECT_EQ(child<QLabel>(dialog, u"Dvc"_s)->text(), u"OtherPC-Printer"_s);
    EXPECT_EQ(note->text(), PrinterCheck::NotInstalled.arg(u"OtherPC-Printer"_s));
    EXPECT_FALSE(note->isHidden());
    EXPECT_FALSE(ok->isEnabled());

    prompts.printers.push_back(QString()); // cancelled: nothing changes
    choose->click();
    EXPECT_FALSE(ok->isEnabled());
    prompts.printers.push_back(u"Office-B"_s);
    choose->click();
    EXPECT_EQ(child<QLabel>(dialog, u"Dvc"_s)->text(), u"Office-B"_s);
    EXPECT_TRUE(note->isHidden());
    EXPECT_TRUE(choose->isHidden());
    EXPECT_TRUE(ok->isEnabled());
}

TEST(PrinterCheckTest, TheJobsPrinterOrTheDefaultAndWhyNot) {
    const QStringList installed{u"A"_s, u"B"_s};
    EXPECT_EQ(checkPrinter(u"B"_s, installed, u"A"_s).name, u"B"_s);
    EXPECT_TRUE(checkPrinter(u"B"_s, installed, u"A"_s).problem.isEmpty());
    EXPECT_EQ(checkPrinter({}, installed, u"A"_s).name, u"A"_s);
    EXPECT_EQ(checkPrinter(u"C"_s, installed, u"A"_s).problem, PrinterCheck::NotInstalled.arg(u"C"_s));
    EXPECT_EQ(checkPrinter(u"b"_s, installed, u"A"_s).problem, PrinterCheck::NotInstalled.arg(u"b"_s));
    EXPECT_EQ(checkPrinter({}, installed, {}).problem, PrinterCheck::NotChosen);
    EXPECT_EQ(checkPrinter({}, {}, {}).problem, PrinterCheck::NoPrinter);
}

// Photos gone since the pages were laid out (a card pulled) leave their frames empty, and the
// end of the run says which rows, as the preview says a photo missing when it opens.
TEST_F(PrintDialogTest, PhotosGoneSinceThePreviewAreNamedByRowAfterPrinting) {
    ASSERT_TRUE(QFile::remove(photo));
    child<QPushButton>(*dialog, u"Command1"_s)->click();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Exclamation);
    // What went to the printer, then the rows whose frames are empty.
    const QString text = prompts.lastMessage().text;
    EXPECT_TRUE(text.startsWith(u"1～5 頁をプリンタに送りました。"_s)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(u"\r\n\r\n次の行は写真を読めなかったため、写真の枠を空けて出力しました。\n"_s
                              u"行 1～13\n\n1 行目: 画像を読めません。\n"_s +
                              photo + u"\nファイルが見つかりません"_s))
        << text.toStdString();
    EXPECT_TRUE(QFile::exists(dir.path() + u"/printed.pdf"_s));
}

TEST_F(PreviewWindowTest, PdfButtonNamesTheRowsWhosePhotosWentSinceThePreview) {
    const QString other = writeTestPhoto(dir.path(), u"q.jpg"_s, 400, 300);
    addRows(2, photo);
    addRows(1, other);
    PVIEW view(workspace, prompts);
    ASSERT_TRUE(QFile::remove(other));
    const QString pdf = dir.path() + u"/saved.pdf"_s;
    prompts.savePaths.push_back(pdf);
    child<QPushButton>(view, u"CmdPdf"_s)->click();
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"\n行 3\n\n3 行目: 画像を読めません。\n"_s + other))
        << prompts.lastMessage().text.toStdString();
}
