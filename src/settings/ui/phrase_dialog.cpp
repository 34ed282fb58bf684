#include "settings/ui/phrase_dialog.h"

#include "base/prompts.h"
#include "settings/ui/phrase_print.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

MOJDialog::MOJDialog(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"MOJDialog"_s);
    setWindowTitle(u"文字列登録"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    MJSS_ = new QTableWidget(PhraseBook::Count, 1, this);
    MJSS_->setObjectName(u"MJSS"_s);
    MJSS_->setHorizontalHeaderLabels({u"文字列"_s});
    MJSS_->horizontalHeader()->setStretchLastSection(true);
    for (int n = 1; n <= PhraseBook::Count; ++n)
        MJSS_->setItem(n - 1, 0, new QTableWidgetItem(workspace_.phrases.phrase(n)));
    connect(MJSS_, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { workspace_.phrases.setPhrase(item->row() + 1, item->text()); });

    auto* print = new QPushButton(u"印　刷"_s, this);
    print->setObjectName(u"Command1"_s);
    print->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, &MOJDialog::Command1_Click);

    auto* hint = new QLabel(u"「*No」で文字列呼出しできます。"_s, this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(print);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MJSS_, 1);
    layout->addLayout(bottom);
    resize(520, 600);
}

void MOJDialog::done(int result) {
    // A phrase still being typed is kept.
    if (QWidget* focus = QApplication::focusWidget(); focus && MJSS_->isAncestorOf(focus) && focus != MJSS_)
        MJSS_->setFocus();
    ProgramFiles::savePhrases(workspace_, prompts_);
    QDialog::done(result);
}

void MOJDialog::Command1_Click() {
    const std::optional<QString> name = prompts_.printerSetup(workspace_.DefaultPrinter);
    if (!name) return;
    QPrinter printer;
    if (!name->isEmpty()) printer.setPrinterName(*name);
    // Printing problems are the printer's to report; the table stays as it is.
    if (printer.isValid()) printPhrases(workspace_.phrases, printer);
}
