#include "excel/ui/point_record_dialog.h"

#include "excel/point_record.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
const int TextItems[4] = {SettingItem::PointRecordWorkName, SettingItem::PointRecordRouteName,
                          SettingItem::PointRecordLocation, SettingItem::PointRecordInspector};
} // namespace

DialogTen4::DialogTen4(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent)
    : ReportDialog(workspace, prompts, opener, parent) {
    setObjectName(u"DialogTen4"_s);
    setWindowTitle(u"点の記４点EXCEL出力"_s);
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    const QString captions[4] = {u"作　業　名"_s, u"路　線　名"_s, u"所　在　地"_s, u"点　検　者"_s};
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(captions[i], this);
        label->setObjectName(u"Label%1"_s.arg(i + 2));
        Text_[i] = new QLineEdit(workspace_.settings.itemText(TextItems[i]), this);
        Text_[i]->setObjectName(u"Text%1"_s.arg(i + 2));
        grid->addWidget(label, i, 0);
        grid->addWidget(Text_[i], i, 1, 1, 2);
    }
    Chk1_ = new QCheckBox(u"標高（H)を出力する。"_s, this);
    Chk1_->setObjectName(u"Chk1"_s);
    Chk1_->setChecked(workspace_.settings.itemIsOn(SettingItem::PointRecordHeightOn));
    grid->addWidget(Chk1_, 4, 1, 1, 2);
    auto* markerLabel = new QLabel(u"デフォルト杭種"_s, this);
    markerLabel->setObjectName(u"Label6"_s);
    Cmb1_ = new QComboBox(this);
    Cmb1_->setObjectName(u"Cmb1"_s);
    Cmb1_->setEditable(true);
    Cmb1_->addItems(PointRecord::MarkerKinds);
    Cmb1_->setCurrentIndex(-1);
    auto* note = new QLabel(u"※未登録時のみ印字"_s, this);
    note->setObjectName(u"Label7"_s);
    grid->addWidget(markerLabel, 5, 0);
    grid->addWidget(Cmb1_, 5, 1);
    grid->addWidget(note, 5, 2);
    auto* simaLabel = new QLabel(u"ＳＩＭＡファイル名"_s, this);
    simaLabel->setObjectName(u"Label8"_s);
    SimaNM_ = new QLineEdit(workspace_.PointRecordSimaPath, this);
    SimaNM_->setObjectName(u"SimaNM"_s);
    SimaNM_->setReadOnly(true);
    grid->addWidget(simaLabel, 6, 0);
    grid->addWidget(SimaNM_, 6, 1, 1, 2);
    layout->addLayout(grid);
    auto* choose = new QPushButton(u"このボタンを押してSIMAﾌｧｲﾙを選択します。"_s, this);
    choose->setObjectName(u"Command1"_s);
    layout->addWidget(choose);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(u"出　力"_s, this);
    ok->setObjectName(u"OKButton"_s);
    auto* cancel = new QPushButton(u"ｷｬﾝｾﾙ"_s, this);
    cancel->setObjectName(u"CancelButton"_s);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    addStatusPanels(layout, u"Stb2"_s);
    setMinimumWidth(460);

    connect(choose, &QPushButton::clicked, this, &DialogTen4::Command1_Click);
    connect(ok, &QPushButton::clicked, this, &DialogTen4::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DialogTen4::Command1_Click() {
    const QString folder =
        SimaNM_->text().isEmpty() ? workspace_.CurrentFolder : QFileInfo(SimaNM_->text()).absolutePath();
    const QString path = prompts_.openFile({u"SIMAファイルを開く"_s, u"SIMAﾌｧｲﾙ(*.SIM)|*.SIM"_s, 1, folder});
    if (path.isEmpty()) return;
    workspace_.PointRecordSimaPath = path;
    SimaNM_->setText(path);
}

void DialogTen4::OKButton_Click() {
    for (int i = 0; i < 4; ++i)
        workspace_.settings.setItem(TextItems[i], SettingValue::string(Text_[i]->text()));
    workspace_.settings.setItem(SettingItem::PointRecordHeightOn,
                                SettingValue::number(Chk1_->isChecked() ? 1 : 0));

    workspace_.UpdateRowTotal();
    PointRecord::Request request;
    request.rows = workspace_.SS1.rows().mid(0, workspace_.AlbumRowCount);
    request.workName = Text_[0]->text();
    request.routeName = Text_[1]->text();
    request.location = Text_[2]->text();
    request.inspector = Text_[3]->text();
    request.heightOn = Chk1_->isChecked();
    request.defaultMarker = Cmb1_->currentText();
    request.simaPath = SimaNM_->text();
    request.programFolder = workspace_.programFolder();
    request.threads = qMax(1, QThread::idealThreadCount());

    request.guard = workspace_.outputGuard();
    const Outcome outcome = runReport(
        {u"点の記.xlsx"_s, [&](const QString& output, const Progress& progress, QStringList* notes) {
             return PointRecord::run(request, output, progress, notes);
         }});
    if (outcome == Outcome::Failed) reject();
    if (outcome == Outcome::Written) accept();
}
