#include "excel/ui/field_report_dialog.h"

#include "excel/field_report.h"
#include "workspace/workspace.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

DialogGentou::DialogGentou(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent)
    : ReportDialog(workspace, prompts, opener, parent) {
    setObjectName(u"DialogGentou"_s);
    setWindowTitle(u"現地踏査出力"_s);
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(u"処理種別"_s, this);
    frame->setObjectName(u"Frame1"_s);
    auto* options = new QVBoxLayout(frame);
    for (int i = 0; i < FieldReport::KindCaptions.size(); ++i) {
        auto* option = new QRadioButton(FieldReport::KindCaptions.at(i), frame);
        option->setObjectName(u"Option1(%1)"_s.arg(i));
        options->addWidget(option);
        Option1_.append(option);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    layout->addWidget(frame);

    auto* nameRow = new QHBoxLayout;
    auto* label = new QLabel(u"シート名"_s, this);
    label->setObjectName(u"Label1"_s);
    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(u"Text1"_s);
    nameRow->addWidget(label);
    nameRow->addWidget(Text1_, 1);
    layout->addLayout(nameRow);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"OKButton"_s);
    auto* cancel = new QPushButton(u"ｷｬﾝｾﾙ"_s, this);
    cancel->setObjectName(u"CancelButton"_s);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    addStatusPanels(layout, u"STB1"_s);
    setMinimumWidth(380);

    workspace_.UpdateRowTotal();
    Text1_->setText(FieldReport::defaultSheetName(workspace_.SS1.rows().mid(0, workspace_.AlbumRowCount)));
    const int kind =
        qBound(0, workspace_.settings.itemInt(SettingItem::FieldReportKind), int(Option1_.size()) - 1);
    Option1_[kind]->setChecked(true);
    Option1_Click(kind);
    connect(ok, &QPushButton::clicked, this, &DialogGentou::OKButton_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DialogGentou::Option1_Click(int index) {
    Text1_->setEnabled(index == 1);
}

int DialogGentou::selectedKind() const {
    for (int i = 0; i < Option1_.size(); ++i)
        if (Option1_[i]->isChecked()) return i;
    return 0;
}

void DialogGentou::OKButton_Click() {
    workspace_.UpdateRowTotal();
    FieldReport::Request request;
    request.rows = workspace_.SS1.rows().mid(0, workspace_.AlbumRowCount);
    request.kind = selectedKind();
    request.sheetName = Text1_->text();
    request.programFolder = workspace_.programFolder();
    request.threads = qMax(1, QThread::idealThreadCount());
    if (refuse(FieldReport::checkRequest(request))) return;
    request.guard = workspace_.outputGuard();
    const Outcome outcome =
        runReport({FieldReport::defaultOutputName(request.kind),
                   [&](const QString& output, const Progress& progress, QStringList* notes) {
                       return FieldReport::run(request, output, progress, notes);
                   }});
    if (outcome == Outcome::Failed) reject();
    if (outcome != Outcome::Written) return;
    workspace_.settings.setItem(SettingItem::FieldReportKind, SettingValue::number(request.kind));
    accept();
}
