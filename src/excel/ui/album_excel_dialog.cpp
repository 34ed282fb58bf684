#include "excel/ui/album_excel_dialog.h"

#include "excel/album_excel.h"
#include "workspace/workspace.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QLineEdit* lineEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

} // namespace

EXOUTDialog::EXOUTDialog(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent)
    : ReportDialog(workspace, prompts, opener, parent) {
    setObjectName(u"EXOUTDialog"_s);
    setWindowTitle(u"写真帳出力"_s);
    auto* layout = new QVBoxLayout(this);
    auto* command1 = new QPushButton(u"写真帳EXCEL出力（固定）"_s, this);
    command1->setObjectName(u"Command1"_s);
    layout->addWidget(command1);

    auto* frame = new QGroupBox(u"Free"_s, this);
    frame->setObjectName(u"Frame1"_s);
    auto* grid = new QGridLayout(frame);
    Text1_ = lineEdit(u"Text1"_s, frame);
    Text2_ = lineEdit(u"Text2"_s, frame);
    Text3_ = lineEdit(u"Text3"_s, frame);
    const auto label = [&](const QString& name, const QString& text) {
        auto* l = new QLabel(text, frame);
        l->setObjectName(name);
        return l;
    };
    grid->addWidget(label(u"Label1"_s, u"行のタイトル"_s), 0, 0);
    grid->addWidget(Text1_, 0, 1, 1, 3);
    grid->addWidget(label(u"Label2"_s, u"出力位置　行"_s), 1, 0);
    grid->addWidget(Text2_, 1, 1);
    grid->addWidget(label(u"Label3"_s, u"列"_s), 1, 2);
    grid->addWidget(Text3_, 1, 3);
    auto* command2 = new QPushButton(u"EXCEL出力"_s, frame);
    command2->setObjectName(u"Command2"_s);
    grid->addWidget(command2, 2, 0, 1, 4);
    layout->addWidget(frame);

    addStatusPanels(layout, u"STB1"_s);
    setMinimumWidth(420);

    const auto& s = workspace_.settings;
    Text1_->setText(s.itemText(SettingItem::FreeTitleText));
    Text2_->setText(s.itemText(SettingItem::FreeTitleRow));
    Text3_->setText(s.itemText(SettingItem::FreeTitleColumn));
    Text1_->installEventFilter(this);
    connect(command1, &QPushButton::clicked, this, &EXOUTDialog::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &EXOUTDialog::Command2_Click);
}

bool EXOUTDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (const auto phrase = workspace_.phrases.recall(Text1_->text())) Text1_->setText(*phrase);
            return true; // Enter recalls; it never presses a button
        }
    }
    return QDialog::eventFilter(watched, event);
}

void EXOUTDialog::storeFields() {
    auto& s = workspace_.settings;
    s.setItem(SettingItem::FreeTitleText, SettingValue::string(Text1_->text()));
    s.setItem(SettingItem::FreeTitleRow, SettingValue::string(Text2_->text()));
    s.setItem(SettingItem::FreeTitleColumn, SettingValue::string(Text3_->text()));
}

void EXOUTDialog::done(int result) {
    if (isRunning()) return;
    storeFields();
    QDialog::done(result);
}

void EXOUTDialog::Command1_Click() {
    runOutput(false);
}
void EXOUTDialog::Command2_Click() {
    runOutput(true);
}

void EXOUTDialog::runOutput(bool free) {
    workspace_.UpdateRowTotal();
    AlbumExcel::Request request;
    request.rows = workspace_.SS1.rows().mid(0, workspace_.AlbumRowCount);
    request.free = free;
    request.a3 = workspace_.settings.itemInt(SettingItem::PaperLayout) == 0;
    request.templatePath = workspace_.settings.itemText(SettingItem::FreeTemplatePath);
    request.programFolder = workspace_.programFolder();
    request.title = Text1_->text();
    request.titleRow = Text2_->text();
    request.titleColumn = Text3_->text();
    request.threads = qMax(1, QThread::idealThreadCount());

    if (refuse(AlbumExcel::checkRequest(request))) return;
    request.guard = workspace_.outputGuard();
    const Outcome outcome =
        runReport({AlbumExcel::defaultOutputName(request),
                   [&](const QString& output, const Progress& progress, QStringList* notes) {
                       return AlbumExcel::run(request, output, progress, notes);
                   }});
    // A failed run closes the dialog as a written one does; a cancelled one leaves it open.
    if (outcome == Outcome::Failed || outcome == Outcome::Written) accept();
}
