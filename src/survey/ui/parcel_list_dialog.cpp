#include "survey/ui/parcel_list_dialog.h"

#include "base/app_error.h"
#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "base/ui/job_runner.h"
#include "survey/parcel_import.h"
#include "survey/real_estate_report.h"
#include "survey/ui/sima_dialog_parts.h"
#include "workspace/workspace.h"
#include "xlsx/workbook_opener.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>

#include <set>

using namespace Qt::StringLiterals;

const QString DialogSIMA2::Caption = u"不動産報告書出力"_s;

namespace {

const QString Title = u"確認"_s;

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

DialogSIMA2::DialogSIMA2(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts), opener_(opener) {
    setObjectName(u"DialogSIMA2"_s);
    setWindowTitle(Caption);
    auto* layout = new QVBoxLayout(this);
    auto* command1 = button(u"Command1"_s, u"このボタンを押してSIMAファイルを選択"_s, this);
    layout->addWidget(command1);

    vSS1_ = new QTableWidget(0, 2, this);
    vSS1_->setObjectName(u"vSS1"_s);
    vSS1_->setHorizontalHeaderLabels({u"画地名"_s, u"点数"_s});
    vSS1_->setSelectionBehavior(QAbstractItemView::SelectRows);
    vSS1_->setSelectionMode(QAbstractItemView::MultiSelection);
    vSS1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vSS1_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    vSS1_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    vSS1_->setMinimumHeight(220);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(vSS1_, 1);
    auto* listButtons = new QVBoxLayout;
    auto* zs = button(u"ZS"_s, u"全選択"_s, this);
    auto* zk = button(u"ZK"_s, u"選択解除"_s, this);
    listButtons->addWidget(zs);
    listButtons->addWidget(zk);
    listButtons->addStretch();
    listRow->addLayout(listButtons);
    layout->addLayout(listRow);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(u"写真Path"_s, this), 0, 0);
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(u"Text1"_s);
    Text1_->setMinimumWidth(280);
    grid->addWidget(Text1_, 0, 1);
    auto* command2 = button(u"Command2"_s, u"参照"_s, this);
    grid->addWidget(command2, 0, 2);
    grid->addWidget(new QLabel(u"年月日"_s, this), 1, 0);
    YMN_ = new QTableWidget(1, 1, this);
    YMN_->setObjectName(u"YMN"_s);
    YMN_->horizontalHeader()->hide();
    YMN_->verticalHeader()->hide();
    YMN_->horizontalHeader()->setStretchLastSection(true);
    YMN_->setFixedHeight(YMN_->rowHeight(0) + 2 * YMN_->frameWidth());
    YMN_->setMaximumWidth(160);
    YMN_->setItem(0, 0, new QTableWidgetItem(QDate::currentDate().toString(u"yyyy/MM/dd"_s)));
    grid->addWidget(YMN_, 1, 1, Qt::AlignLeft);
    auto* type = new QGroupBox(u"TYPE"_s, this);
    type->setObjectName(u"Frame1"_s);
    auto* typeLayout = new QHBoxLayout(type);
    for (int i = 0; i < 2; ++i) {
        Opt1_[i] = new QRadioButton(QString::number(i + 1), type);
        Opt1_[i]->setObjectName(u"Opt1("_s + QString::number(i) + u')');
        typeLayout->addWidget(Opt1_[i]);
    }
    grid->addWidget(type, 2, 0, 1, 2, Qt::AlignLeft);
    layout->addLayout(grid);

    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"OKButton", u"インポート"_s, DialogParts::Enter::Ignored},
                                 {"CancelButton", u"ｷｬﾝｾﾙ"_s, DialogParts::Enter::Ignored});
    QPushButton* report =
        DialogParts::addBetween(row, {"Command3", u"報告書"_s, DialogParts::Enter::Ignored});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(row.box);
    layout->addLayout(buttons);
    const DialogParts::StatusPanels status = DialogParts::statusPanels(
        this, u"STB1"_s, u"STB1Panel"_s, {3, 1, 1}, DialogParts::PanelFrame::Sunken);
    panels_ = status.panels;
    layout->addWidget(status.bar);

    Text1_->setText(workspace_.settings.itemText(SettingItem::SimaPhotoFolder));
    const bool type2 = workspace_.settings.text(SettingText::RealEstateReportType) == u"1"_s;
    Opt1_[type2 ? 1 : 0]->setChecked(true);

    connect(command1, &QPushButton::clicked, this, &DialogSIMA2::Command1_Click);
    connect(command2, &QPushButton::clicked, this,
            [this] { SimaDialogParts::choosePhotoFolder(prompts_, *Text1_); });
    connect(zs, &QPushButton::clicked, vSS1_, &QTableWidget::selectAll);
    connect(zk, &QPushButton::clicked, vSS1_, &QTableWidget::clearSelection);
    connect(row.ok, &QPushButton::clicked, this, &DialogSIMA2::OKButton_Click);
    connect(report, &QPushButton::clicked, this, &DialogSIMA2::Command3_Click);
    connect(row.cancel, &QPushButton::clicked, this, &DialogSIMA2::reject);
}

QList<int> DialogSIMA2::selectedParcels() const {
    std::set<int> rows;
    for (const QModelIndex& index : vSS1_->selectionModel()->selectedRows())
        rows.insert(index.row() + 1);
    return {rows.begin(), rows.end()};
}

void DialogSIMA2::setPanels(const QString& first, const QString& second, const QString& third) {
    panels_[0]->setText(first);
    panels_[1]->setText(second);
    panels_[2]->setText(third);
}

void DialogSIMA2::Command1_Click() {
    const QString path = prompts_.openFile({u"SIAMファイル選択"_s, u"SIMAﾌｧｲﾙ (*.sim)|*.sim"_s, 1, {}});
    if (path.isEmpty()) return;
    // A file that cannot be read leaves no list, rather than the earlier file's under blank panels.
    tables_ = {};
    fillList();
    try {
        BusyScope busy(prompts_);
        setPanels(u"SIMAファイル呼出中"_s);
        tables_ = JobRunner(this).run([&](const Progress&) { return LoadParcels(path); });
    } catch (const AppError& error) {
        setPanels({});
        prompts_.tell(error.message(), u"エラー"_s, Prompts::Icon::Critical);
        return;
    }
    fillList();
    if (tables_.listsNoPoint()) {
        setPanels({});
        prompts_.tell(SimaReader::NoParcels, u"エラー"_s, Prompts::Icon::Critical);
        return;
    }
    setPanels(u"SIMA画地呼出完了！"_s, QString::number(tables_.members.size()));
}

void DialogSIMA2::fillList() {
    vSS1_->clearSelection();
    vSS1_->setRowCount(int(tables_.parcels.size()));
    for (int i = 0; i < tables_.parcels.size(); ++i) {
        const SimaParcel& parcel = tables_.parcels.at(i);
        vSS1_->setItem(i, 0, new QTableWidgetItem(parcel.Name));
        auto* count = new QTableWidgetItem(QString::number(std::max(0, parcel.pointCount())));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        vSS1_->setItem(i, 1, count);
    }
}

bool DialogSIMA2::checkChoice() {
    if (tables_.members.isEmpty() || tables_.listsNoPoint()) {
        prompts_.tell(SimaReader::NoParcelsLoaded, ParcelImport::WarningTitle, Prompts::Icon::Critical);
        return false;
    }
    if (selectedParcels().isEmpty()) {
        prompts_.tell(RealEstateReport::NoParcelChosen, ParcelImport::WarningTitle, Prompts::Icon::Critical);
        return false;
    }
    return true;
}

void DialogSIMA2::OKButton_Click() {
    workspace_.settings.setItem(SettingItem::SimaPhotoFolder, SettingValue::string(Text1_->text()));
    if (ParcelImport::importParcels(workspace_, prompts_, tables_, selectedParcels(), Text1_->text()))
        accept();
}

void DialogSIMA2::Command3_Click() {
    if (running_ || !checkChoice()) return;
    const QString folder = Text1_->text().trimmed();
    if (folder.isEmpty()) {
        prompts_.tell(u"写真Pathを指定して下さい。報告書はそのフォルダに作ります。"_s,
                      ParcelImport::WarningTitle, Prompts::Icon::Critical);
        return;
    }
    const QString output = ParcelRows::photoPath(folder, RealEstateReport::OutputName);
    if (QFileInfo::exists(output) &&
        prompts_.ask(RealEstateReport::ReplaceQuestion + u"\r\n"_s + QDir::toNativeSeparators(output), Title,
                     Prompts::Icon::Question, Prompts::Answer::No) != Prompts::Answer::Yes)
        return;

    RealEstateReport::Request request;
    request.tables = tables_;
    request.parcels = selectedParcels();
    request.folder = folder;
    request.type2 = Opt1_[1]->isChecked();
    request.date = YMN_->item(0, 0) ? YMN_->item(0, 0)->text() : QString();
    request.nearSuffix = workspace_.settings.itemText(SettingItem::NearSuffix);
    request.farSuffix = workspace_.settings.itemText(SettingItem::FarSuffix);
    request.programFolder = workspace_.programFolder();
    request.threads = qMax(1, QThread::idealThreadCount());
    request.guard = workspace_.outputGuard();
    writeReport(request, output);
}

void DialogSIMA2::writeReport(const RealEstateReport::Request& request, const QString& output) {
    running_ = true;
    const auto over = qScopeGuard([this] {
        running_ = false;
        setPanels({});
    });
    ReportResult failure;
    RealEstateReport::Summary summary;
    try {
        BusyScope busy(prompts_);
        setPanels(RealEstateReport::Activity);
        JobRunner runner(this);
        runner.showWindow({u"Progress"_s, windowTitle(), RealEstateReport::Activity, u"中止"_s, 300});
        runner.onStep([this](const ProgressStep& step) {
            if (step.row > 0)
                setPanels(RealEstateReport::Activity, QString::number(step.row), QString::number(step.done));
        });
        failure = runner.run([&](const Progress& progress) {
            return RealEstateReport::run(request, output, progress, &summary);
        });
    } catch (const Cancelled&) {
        prompts_.tell(Cancelled::NothingWritten, Title, Prompts::Icon::Information);
        return;
    }
    if (failure) {
        QStringList text{failure->message};
        text << failure->details().mid(0, 20);
        prompts_.tell(text.join(u"\r\n"_s), Title, failure->icon);
        return;
    }
    showWrittenWorkbook(prompts_, opener_, output, summary.notes);
}

void DialogSIMA2::saveSettings() {
    workspace_.settings.setItem(SettingItem::SimaPhotoFolder, SettingValue::string(Text1_->text()));
    workspace_.settings.setText(SettingText::RealEstateReportType, Opt1_[1]->isChecked() ? u"1"_s : u"0"_s);
}

void DialogSIMA2::reject() {
    if (running_) return;
    saveSettings();
    QDialog::reject();
}

bool runParcelList(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent) {
    DialogSIMA2 dialog(workspace, prompts, opener, parent);
    return dialog.exec() == QDialog::Accepted;
}
