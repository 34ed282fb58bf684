#include "survey/ui/parcel_import_dialog.h"

#include "base/app_error.h"
#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "base/ui/job_runner.h"
#include "survey/parcel_import.h"
#include "survey/sima_pm_file.h"
#include "survey/ui/sima_dialog_parts.h"
#include "workspace/workspace.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

const QString DialogSIMA::Caption = u"SIMAから画地インポート"_s;

namespace {

const QString ErrorTitle = u"エラー"_s;

QLineEdit* lineEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(280);
    return edit;
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

DialogSIMA::DialogSIMA(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"DialogSIMA"_s);
    setWindowTitle(Caption);
    auto* layout = new QVBoxLayout(this);
    auto* command1 = button(u"Command1"_s, u"このボタンを押してSIMAファイルを選択"_s, this);
    layout->addWidget(command1);

    auto* form = new QFormLayout;
    Text1_ = lineEdit(u"Text1"_s, this);
    auto* command2 = button(u"Command2"_s, u"参照"_s, this);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(Text1_, 1);
    folderRow->addWidget(command2);
    form->addRow(u"写真Path"_s, folderRow);
    Text5_ = lineEdit(u"Text5"_s, this);
    form->addRow(u"基準点コード先頭文字"_s, Text5_);
    Text2_ = lineEdit(u"Text2"_s, this);
    form->addRow(u"確認資料（1)"_s, Text2_);
    Text3_ = lineEdit(u"Text3"_s, this);
    form->addRow(u"立会有無（3）"_s, Text3_);
    Text4_ = lineEdit(u"Text4"_s, this);
    form->addRow(u"備　　考（4）"_s, Text4_);
    layout->addLayout(form);

    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"OKButton", u"インポート"_s, DialogParts::Enter::Ignored},
                                 {"CancelButton", u"ｷｬﾝｾﾙ"_s, DialogParts::Enter::Ignored});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(row.box);
    layout->addLayout(buttons);
    const DialogParts::StatusPanels status =
        DialogParts::statusPanels(this, u"STB1"_s, u"STB1Panel"_s, {3, 1}, DialogParts::PanelFrame::Sunken);
    panels_ = status.panels;
    layout->addWidget(status.bar);

    const Settings& s = workspace_.settings;
    Text1_->setText(s.itemText(SettingItem::SimaPhotoFolder));
    Text5_->setText(s.itemText(SettingItem::PointCodePrefix));
    Text2_->setText(s.itemText(SettingItem::ParcelInfoLine1));
    Text3_->setText(s.itemText(SettingItem::ParcelWitness));
    Text4_->setText(s.itemText(SettingItem::ParcelRemarks));

    connect(command1, &QPushButton::clicked, this, &DialogSIMA::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &DialogSIMA::Command2_Click);
    connect(row.ok, &QPushButton::clicked, this, &DialogSIMA::OKButton_Click);
    connect(row.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DialogSIMA::showStatus(const QString& activity, const QString& count) {
    panels_[0]->setText(activity);
    panels_[1]->setText(count);
}

void DialogSIMA::Command1_Click() {
    const QString pmPath = prompts_.openFile({u"PMファイル選択"_s, u"PMﾌｧｲﾙ (*.csv)|*.csv"_s, 1, {}});
    if (pmPath.isEmpty()) return;
    // Loading starts over: a load that does not end leaves nothing loaded, so that インポート
    // never takes the points of an earlier file that the panels no longer show.
    points_.clear();
    PmFile pm;
    try {
        BusyScope busy(prompts_);
        showStatus(u"PMファイル呼出中"_s);
        pm = JobRunner(this).run([&](const Progress&) { return LoadPmFile(pmPath); });
        showStatus(u"PMファイル呼出中"_s, QString::number(pm.names.size()));
    } catch (const AppError& error) {
        showStatus({});
        prompts_.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
        return;
    }
    const QString simaPath = prompts_.openFile({u"SIAMファイル選択"_s, u"SIMAﾌｧｲﾙ (*.sim)|*.sim"_s, 1, {}});
    if (simaPath.isEmpty()) {
        showStatus({});
        return;
    }
    try {
        BusyScope busy(prompts_);
        showStatus(u"SIMAファイル呼出中"_s);
        points_ = JobRunner(this).run([&](const Progress&) { return LoadBoundaryPoints(simaPath, &pm); });
    } catch (const AppError& error) {
        showStatus({});
        prompts_.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
        return;
    }
    if (points_.isEmpty()) {
        showStatus({});
        prompts_.tell(SimaReader::NoParcels, ErrorTitle, Prompts::Icon::Critical);
        return;
    }
    showStatus(u"SIMA画地呼出完了！"_s, QString::number(points_.size()));
}

void DialogSIMA::Command2_Click() {
    SimaDialogParts::choosePhotoFolder(prompts_, *Text1_);
}

void DialogSIMA::OKButton_Click() {
    Settings& s = workspace_.settings;
    s.setItem(SettingItem::SimaPhotoFolder, SettingValue::string(Text1_->text()));
    s.setItem(SettingItem::PointCodePrefix, SettingValue::string(Text5_->text()));
    s.setItem(SettingItem::ParcelInfoLine1, SettingValue::string(Text2_->text()));
    s.setItem(SettingItem::ParcelWitness, SettingValue::string(Text3_->text()));
    s.setItem(SettingItem::ParcelRemarks, SettingValue::string(Text4_->text()));
    if (ParcelImport::importBoundaryPoints(workspace_, prompts_, points_,
                                           ParcelImport::boundaryTextsFromSettings(workspace_)))
        accept();
}

bool runParcelImport(Workspace& workspace, Prompts& prompts, QWidget* parent) {
    DialogSIMA dialog(workspace, prompts, parent);
    return dialog.exec() == QDialog::Accepted;
}
