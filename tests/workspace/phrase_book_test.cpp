#include "base/sheet_file.h"
#include "settings/ui/phrase_dialog.h"
#include "settings/ui/phrase_print.h"
#include "shell/session.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/phrase_book.h"
#include "workspace/workspace.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QPdfWriter>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class PhraseBookTest : public testing::Test {
protected:
    QString file() const { return dir.filePath(u"MJRT.dat"_s); }

    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(PhraseBookTest, PhrasesSurviveARunExactly) {
    Session::startUp(workspace, prompts, {});
    EXPECT_EQ(workspace.phrases, PhraseBook());
    workspace.phrases.setPhrase(1, u"境界標\r\n二行"_s);
    workspace.phrases.setPhrase(500, u"～最後～"_s);
    workspace.phrases.setPhrase(501, u"入らない"_s);
    Session::shutDown(workspace, prompts, false);

    Workspace next(dir.path());
    Session::startUp(next, prompts, {});
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(next.phrases, workspace.phrases);
    EXPECT_EQ(next.phrases.phrase(500), u"～最後～"_s);
    EXPECT_EQ(next.phrases.phrase(501), QString());
}

TEST_F(PhraseBookTest, ADictionaryThatCannotBeReadIsReportedAndKept) {
    const QByteArray damaged = R"({"format": "tovenla2-sheet", "version": 1, "rows": [)";
    writeBytes(file(), damaged);
    Session::startUp(workspace, prompts, {});
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastMessage().text.contains(u"MJRT.dat"_s));
    workspace.phrases.setPhrase(2, u"新しい"_s);
    Session::shutDown(workspace, prompts, false);
    EXPECT_EQ(readBytes(file()), damaged);
}

TEST_F(PhraseBookTest, DialogEditsInPlaceAndSavesWhenClosed) {
    Session::startUp(workspace, prompts, {});
    workspace.phrases.setPhrase(4, u"既存"_s);
    QPointer<MOJDialog> dialog = new MOJDialog(workspace, prompts);
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), u"文字列登録"_s);
    auto* MJSS = dialog->findChild<QTableWidget*>(u"MJSS"_s);
    ASSERT_NE(MJSS, nullptr);
    EXPECT_EQ(MJSS->rowCount(), 500);
    EXPECT_EQ(MJSS->horizontalHeaderItem(0)->text(), u"文字列"_s);
    EXPECT_EQ(MJSS->item(3, 0)->text(), u"既存"_s);

    MJSS->item(9, 0)->setText(u"杭"_s);
    EXPECT_EQ(workspace.phrases.phrase(10), u"杭"_s);
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    const PhraseBook saved = PhraseBook::fromSheet(SheetFile::load(file()));
    EXPECT_EQ(saved.phrase(10), u"杭"_s);
    EXPECT_EQ(saved.phrase(4), u"既存"_s);
}

TEST_F(PhraseBookTest, PrintingRunsToTheLastPhrase) {
    auto pages = [](const PhraseBook& book) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        return printPhrases(book, pdf);
    };
    PhraseBook book;
    EXPECT_EQ(pages(book), 1);
    book.setPhrase(2, u"境界標"_s);
    EXPECT_EQ(pages(book), 1);
    book.setPhrase(500, u"最後"_s);
    EXPECT_GT(pages(book), 5);
}
