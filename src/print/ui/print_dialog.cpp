#include "print/ui/print_dialog.h"

#include "base/app_error.h"
#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "base/ui/job_runner.h"
#include "print/print_document.h"
#include "print/ui/printer_output.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLabel* valueLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

PriForm::PriForm(const PrintJob& job, PrintDocument& document, QPrinter& printer, InstalledPrinters printers,
                 Prompts& prompts, QWidget* parent)
    : QDialog(parent), document_(document), printer_(printer), printers_(std::move(printers)),
      prompts_(prompts), range_(job.PrintFromPage, job.PrintToPage) {
    setObjectName(u"PriForm"_s);
    setWindowTitle(u"印刷"_s);
    QWidget* printerFrame = buildPrinterFrame(job);
    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"Command1", u"OK"_s, DialogParts::Enter::Ignored},
                                 {"Command2", u"ｷｬﾝｾﾙ"_s, DialogParts::Enter::Ignored});
    ok_ = row.ok;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(row.box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerFrame);
    layout->addWidget(buildRangeFrame());
    layout->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, &PriForm::Command1_Click);
    connect(row.cancel, &QPushButton::clicked, this, &QDialog::reject);
    showPrinter(checkPrinter(job.PrinterName, printers_.names, printers_.defaultName));
}

QWidget* PriForm::buildRangeFrame() {
    auto* rangeFrame = new QGroupBox(u"印刷範囲"_s, this);
    Option1_ = new QRadioButton(u"すべて"_s, rangeFrame);
    Option1_->setObjectName(u"Option1"_s);
    auto* Option2 = new QRadioButton(u"ページ指定"_s, rangeFrame);
    Option2->setObjectName(u"Option2"_s);
    Text1_ = new QLineEdit(QString::number(range_.FromPage), rangeFrame);
    Text1_->setObjectName(u"Text1"_s);
    Text2_ = new QLineEdit(QString::number(range_.ToPage), rangeFrame);
    Text2_->setObjectName(u"Text2"_s);
    for (QLineEdit* text : {Text1_, Text2_}) {
        text->setMaximumWidth(60);
        text->installEventFilter(this);
    }
    Option1_->setChecked(true);
    auto* pages = new QHBoxLayout;
    pages->addWidget(Text1_);
    pages->addWidget(new QLabel(u"ページから"_s, rangeFrame));
    pages->addWidget(Text2_);
    pages->addWidget(new QLabel(u"ページまで"_s, rangeFrame));
    pages->addStretch(1);
    auto* rangeLayout = new QVBoxLayout(rangeFrame);
    rangeLayout->addWidget(Option1_);
    rangeLayout->addWidget(Option2);
    rangeLayout->addLayout(pages);

    connect(Text1_, &QLineEdit::textChanged, this,
            [this](const QString& text) { range_.fromTextChanged(text); });
    connect(Text2_, &QLineEdit::textChanged, this,
            [this](const QString& text) { range_.toTextChanged(text); });
    connect(Text1_, &QLineEdit::returnPressed, this, [this] {
        Text1_->setText(QString::number(range_.FromPage));
        Text2_->setFocus();
    });
    connect(Text2_, &QLineEdit::returnPressed, this, [this] {
        Text2_->setText(QString::number(range_.ToPage));
        ok_->setFocus();
    });
    connect(Option1_, &QRadioButton::clicked, this, [this] {
        Text1_->setText(QString::number(range_.PrintFromPage));
        Text2_->setText(QString::number(range_.PrintToPage));
    });
    connect(Option2, &QRadioButton::clicked, this, [this] { Text1_->setFocus(); });
    return rangeFrame;
}

QWidget* PriForm::buildPrinterFrame(const PrintJob& job) {
    auto* frame = new QGroupBox(u"プリンタ"_s, this);
    auto* form = new QFormLayout(frame);
    Dvc_ = valueLabel("Dvc", {}, frame);
    form->addRow(u"プリンタ名："_s, Dvc_);
    form->addRow(u"用紙サイズ："_s, valueLabel("PSize", job.PaperName, frame));
    form->addRow(u"用紙方向："_s, valueLabel("POri", job.OrientationName, frame));
    printerNote_ = valueLabel("PrinterNote", {}, frame);
    printerNote_->setWordWrap(true);
    printerNote_->setMinimumWidth(320);
    printerNote_->setStyleSheet(u"color: #b00000;"_s);
    choosePrinter_ = new QPushButton(u"プリンタ選択"_s, frame);
    choosePrinter_->setObjectName(u"CmdPrinter"_s);
    choosePrinter_->setAutoDefault(false);
    auto* chooseRow = new QHBoxLayout;
    chooseRow->addWidget(printerNote_, 1);
    chooseRow->addWidget(choosePrinter_, 0, Qt::AlignTop);
    form->addRow(chooseRow);
    connect(choosePrinter_, &QPushButton::clicked, this, &PriForm::choosePrinter);
    return frame;
}

void PriForm::showPrinter(const PrinterCheck& check) {
    printerCheck_ = check;
    const bool missing = toPrinter() && !check.problem.isEmpty();
    Dvc_->setText(check.name);
    printerNote_->setText(check.problem);
    printerNote_->setVisible(missing);
    choosePrinter_->setVisible(missing);
    ok_->setEnabled(!missing);
}

void PriForm::choosePrinter() {
    const std::optional<QString> chosen = prompts_.printerSetup(printerCheck_.name);
    if (!chosen || chosen->isEmpty()) return;
    const PrinterCheck check = checkPrinter(*chosen, printers_.names, printers_.defaultName);
    if (check.problem.isEmpty()) {
        printer_.setPrinterName(check.name);
        document_.Device = check.name;
    }
    showPrinter(check);
}

// The pages may be going to a file (a PDF) instead; only a printer can be missing.
bool PriForm::toPrinter() const {
    return printer_.outputFileName().isEmpty();
}

bool PriForm::printerReady() {
    if (!toPrinter()) return true;
    if (printerCheck_.problem.isEmpty()) {
        printer_.setPrinterName(printerCheck_.name);
        if (printer_.printerName() == printerCheck_.name) return true;
        printerCheck_.problem = PrinterCheck::NotInstalled.arg(printerCheck_.name);
    }
    prompts_.tell(printerCheck_.problem, u"確認"_s, Prompts::Icon::Exclamation);
    showPrinter(printerCheck_);
    return false;
}

bool PriForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (auto* text = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, text, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

void PriForm::Command1_Click() {
    if (!range_.printable()) {
        prompts_.tell(PrintRange::Backwards, u"確認"_s, Prompts::Icon::Exclamation);
        return;
    }
    if (!printerReady()) return;
    document_.DocName = PrintDocumentName;
    PrintedPages printed;
    try {
        BusyScope busy(prompts_);
        JobRunner runner(this);
        runner.showWindow({u"PrintProgress"_s, windowTitle(), PrintActivity, u"中止"_s, 300});
        printed = runner.run([&](const Progress& progress) {
            return printPages(document_, printer_, range_.FromPage, range_.ToPage, progress);
        });
    } catch (const AppError& error) {
        prompts_.tell(PrintRange::PrintFailed + u"\n"_s + error.message(), u"エラー"_s,
                      Prompts::Icon::Critical);
        return;
    }
    if (printed.unread.isEmpty())
        prompts_.tell(printed.text(), u"確認"_s, Prompts::Icon::Information);
    else
        prompts_.tell(printed.text() + u"\r\n\r\n"_s + unreadText(printed.unread), u"確認"_s,
                      Prompts::Icon::Exclamation);
    accept();
}
