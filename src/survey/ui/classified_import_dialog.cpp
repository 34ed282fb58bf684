#include "survey/ui/classified_import_dialog.h"

#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "base/ui/job_runner.h"
#include "survey/classified_commands.h"
#include "survey/classified_file.h"
#include "workspace/settings.h"
#include "workspace/workspace.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

enum GridColumn { KeyColumn, SheetNameColumn, CountColumn, FlagColumn };

QPushButton* button(QWidget* parent, const QString& name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

DialogImp::DialogImp(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"DialogImp"_s);
    setWindowTitle(u"分類CSVインポート"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* frame = new QGroupBox(u"インポート時キー種別"_s, this);
    frame->setObjectName(u"Frame1"_s);
    auto* frameLayout = new QHBoxLayout(frame);
    const QString captions[] = {keyCaption(ClassifiedKey::MapName), keyCaption(ClassifiedKey::MapNumber)};
    for (int i = 0; i < 2; ++i) {
        Opt1_[i] = new QRadioButton(captions[i], frame);
        Opt1_[i]->setObjectName(u"Opt1(%1)"_s.arg(i));
        frameLayout->addWidget(Opt1_[i]);
    }
    Opt1_[workspace_.settings.itemNumber(SettingItem::ImportKeyKind) == 0 ? 0 : 1]->setChecked(true);

    auto* Command1 = button(this, u"Command1"_s, u"インポートするCSVを選択"_s);
    auto* Command2 = button(this, u"Command2"_s, u"Dチェック"_s);
    auto* top = new QHBoxLayout;
    top->addWidget(frame);
    top->addWidget(Command1);
    top->addWidget(Command2);
    top->addStretch(1);

    Label1_ = new QLabel(u"写真Path名"_s, this);
    Label1_->setObjectName(u"Label1"_s);
    Label1_->setFrameShape(QFrame::StyledPanel);
    Label1_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    SSImp_ = new QTableWidget(0, 4, this);
    SSImp_->setObjectName(u"SSImp"_s);
    SSImp_->setHorizontalHeaderLabels({u"分類キー"_s, u"シート名"_s, u"個数"_s, u"済"_s});
    SSImp_->setSelectionBehavior(QAbstractItemView::SelectRows);
    SSImp_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SSImp_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    SSImp_->horizontalHeader()->setSectionResizeMode(SheetNameColumn, QHeaderView::Stretch);
    SSImp_->setColumnWidth(KeyColumn, 180);
    SSImp_->setColumnWidth(CountColumn, 60);
    SSImp_->setColumnWidth(FlagColumn, 40);
    connect(SSImp_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_ || item->column() != SheetNameColumn) return;
        data_.rows[item->row()].sheetName = item->text();
    });

    auto* Command4 = button(this, u"Command4"_s, u"保　存"_s);
    auto* Command5 = button(this, u"Command5"_s, u"呼　出"_s);
    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"OKButton", u"インポート"_s, DialogParts::Enter::Ignored},
                                 {"CancelButton", u"キャンセル"_s, DialogParts::Enter::Ignored});
    auto* Command3 = button(this, u"Command3"_s, u"終　了"_s);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Command4);
    bottom->addWidget(Command5);
    bottom->addStretch(1);
    bottom->addWidget(row.box);
    bottom->addWidget(Command3);

    const DialogParts::StatusPanels status =
        DialogParts::statusPanels(this, u"Stb2"_s, u"Stb2Panel"_s, {1}, DialogParts::PanelFrame::None);
    Stb2Panel1_ = status.panels.first();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Label1_);
    layout->addWidget(SSImp_, 1);
    layout->addLayout(bottom);
    layout->addWidget(status.bar);

    connect(Command1, &QPushButton::clicked, this, &DialogImp::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DialogImp::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &DialogImp::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &DialogImp::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &DialogImp::Command5_Click);
    connect(row.ok, &QPushButton::clicked, this, &DialogImp::OKButton_Click);
    connect(row.cancel, &QPushButton::clicked, this, &QWidget::close);
    resize(640, 520);
}

ClassifiedKey DialogImp::chosenKey() const {
    return Opt1_[0]->isChecked() ? ClassifiedKey::MapName : ClassifiedKey::MapNumber;
}

void DialogImp::setStatus(const QString& text) {
    Stb2Panel1_->setText(text);
    Stb2Panel1_->repaint();
}

void DialogImp::Command1_Click() {
    const QString path = prompts_.openFile(
        {ClassifiedCommands::CsvDialogTitle, ClassifiedCommands::CsvDialogFilter, 1, data_.folder});
    if (path.isEmpty()) return;
    const QString status = Stb2Panel1_->text();
    setStatus(ClassifiedCommands::Analysing);
    if (!ClassifiedCommands::OpenCsv(data_, prompts_, path, chosenKey())) {
        setStatus(status);
        return;
    }
    showGroups();
    setStatus(ClassifiedCommands::ChooseGroups);
}

void DialogImp::Command2_Click() {
    ClassifiedCommands::Check(data_, prompts_);
}

void DialogImp::Command3_Click() {
    workspace_.settings.setItem(SettingItem::ImportKeyKind,
                                SettingValue::number(settingFromKey(chosenKey())));
    close();
}

void DialogImp::Command4_Click() {
    ClassifiedCommands::SaveImportFile(data_, prompts_, workspace_.outputGuard());
}

void DialogImp::Command5_Click() {
    const auto load = [this](const QString& path) {
        return JobRunner(this).run([&](const Progress&) { return ClassifiedFile::load(path); });
    };
    if (ClassifiedCommands::LoadImportFile(data_, prompts_, load)) showGroups();
}

void DialogImp::OKButton_Click() {
    QList<ClassifiedImport::Block> blocks;
    for (const QItemSelectionRange& range : SSImp_->selectionModel()->selection())
        blocks.append({range.top() + 1, range.bottom() + 1});
    if (!ClassifiedCommands::Import(data_, workspace_, prompts_, blocks)) return;
    showFlags();
    Q_EMIT rowsImported();
    if (QWidget* main = parentWidget()) {
        main->raise();
        main->activateWindow();
    }
}

void DialogImp::showGroups() {
    filling_ = true;
    SSImp_->clearSelection();
    SSImp_->setRowCount(int(data_.rows.size()));
    for (int r = 0; r < data_.rows.size(); ++r) {
        const GroupRow& row = data_.rows.at(r);
        const QString cells[] = {row.key, row.sheetName, row.count, row.flag};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c != SheetNameColumn) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            if (c == CountColumn || c == FlagColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            SSImp_->setItem(r, c, item);
        }
    }
    filling_ = false;
    Label1_->setText(data_.folder);
}

void DialogImp::showFlags() {
    filling_ = true;
    for (int r = 0; r < data_.rows.size(); ++r)
        SSImp_->item(r, FlagColumn)->setText(data_.rows.at(r).flag);
    filling_ = false;
}
