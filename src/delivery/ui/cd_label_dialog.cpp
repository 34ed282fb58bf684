#include "delivery/ui/cd_label_dialog.h"

#include "base/ui/dialog_parts.h"
#include "delivery/cd_label_entries.h"
#include "print/preview_document.h"
#include "print/ui/preview_window.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QStringList RowLabels = {u"登録番号"_s, u"工事・委託名"_s, u"年/月"_s,       u"工事箇所"_s,
                               u"発 注 者"_s, u"受 注 者"_s,     u"ｳｨﾙｽｿﾌﾄ名"_s,   u"定 義 日"_s,
                               u"ﾁｪｯｸ日"_s,   u"ﾌｫｰﾏｯﾄ形式"_s,   u"枚数（1/1）"_s, u"予備1"_s,
                               u"予備2"_s,    u"予備3"_s,        u"予備4"_s};

} // namespace

DialogLbl::DialogLbl(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"DialogLbl"_s);
    setWindowTitle(u"埼玉県電子納品用CDﾗﾍﾞﾙ出力"_s);

    auto* registry = new QGroupBox(this);
    auto* registryRow = new QHBoxLayout(registry);
    const QString captions[2] = {u"TECRIS"_s, u"CORINS"_s};
    for (int i = 0; i < 2; ++i) {
        Opt1_[i] = new QRadioButton(captions[i], registry);
        Opt1_[i]->setObjectName(u"Opt1("_s + QString::number(i) + u')');
        registryRow->addWidget(Opt1_[i]);
    }
    registryRow->addStretch();

    auto* settingsFrame = new QGroupBox(u"設定"_s, this);
    settingsFrame->setObjectName(u"Frame1"_s);
    Text1_ = new QLineEdit(settingsFrame);
    Text1_->setObjectName(u"Text1"_s);
    Text2_ = new QLineEdit(settingsFrame);
    Text2_->setObjectName(u"Text2"_s);
    Check1_ = new QCheckBox(u"レイアウト枠も出力する。"_s, settingsFrame);
    Check1_->setObjectName(u"Check1"_s);
    auto* frameGrid = new QGridLayout(settingsFrame);
    frameGrid->addWidget(new QLabel(u"開始位置横"_s, settingsFrame), 0, 0);
    frameGrid->addWidget(Text1_, 0, 1);
    frameGrid->addWidget(new QLabel(u"mm"_s, settingsFrame), 0, 2);
    frameGrid->addWidget(new QLabel(u"開始位置縦"_s, settingsFrame), 1, 0);
    frameGrid->addWidget(Text2_, 1, 1);
    frameGrid->addWidget(new QLabel(u"mm"_s, settingsFrame), 1, 2);
    frameGrid->addWidget(Check1_, 2, 0, 1, 3);
    frameGrid->setColumnStretch(3, 1);

    auto* Label3 = new QLabel(u"※ﾗﾍﾞﾙ紙はｻﾝﾜｻﾌﾟﾗｲLB-CDRｼﾘｰｽﾞを使用下さい。"_s, this);
    Label3->setObjectName(u"Label3"_s);
    Label3->setWordWrap(true);

    const DialogParts::OkCancelRow buttons =
        DialogParts::okCancelRow(this, {"OKButton", u"ラベル出力"_s, DialogParts::Enter::Clicks},
                                 {"CancelButton", u"ｷｬﾝｾﾙ"_s, DialogParts::Enter::WhenFocused});
    connect(buttons.ok, &QPushButton::clicked, this, &DialogLbl::OKButton_Click);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(buttons.box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(registry);
    layout->addWidget(buildLabelGrid(), 1);
    layout->addWidget(settingsFrame);
    layout->addWidget(Label3);
    layout->addLayout(buttonRow);
    resize(560, sizeHint().height());

    Form_Load();
}

QTableWidget* DialogLbl::buildLabelGrid() {
    SSLbl_ = new QTableWidget(int(RowLabels.size()), 1, this);
    SSLbl_->setObjectName(u"SSLbl"_s);
    SSLbl_->setHorizontalHeaderLabels({u"設定内容"_s});
    SSLbl_->setVerticalHeaderLabels(RowLabels);
    SSLbl_->horizontalHeader()->setStretchLastSection(true);
    SSLbl_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // All fifteen rows in view without the dialog outgrowing a small screen.
    SSLbl_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    for (int row = 0; row < SSLbl_->rowCount(); ++row)
        SSLbl_->setItem(row, 0, new QTableWidgetItem);
    SSLbl_->setMinimumHeight(SSLbl_->horizontalHeader()->sizeHint().height() +
                             SSLbl_->verticalHeader()->length() + 2 * SSLbl_->frameWidth());
    return SSLbl_;
}

void DialogLbl::Form_Load() {
    const CdLabelEntries entries = CdLabelEntries::load(workspace_.settings);
    Opt1_[entries.registry]->setChecked(true);
    Text1_->setText(entries.startX);
    Text2_->setText(entries.startY);
    Check1_->setChecked(entries.frame);
    for (int i = 0; i < CdLabelEntries::RowCount; ++i)
        SSLbl_->item(i, 0)->setText(entries.rows.value(i));
}

void DialogLbl::OKButton_Click() {
    // A cell still being edited keeps its text in the editor until the current cell moves.
    SSLbl_->setCurrentIndex({});
    CdLabelEntries entries;
    entries.registry = Opt1_[0]->isChecked() ? CdLabelEntries::TECRIS : CdLabelEntries::CORINS;
    entries.startX = Text1_->text();
    entries.startY = Text2_->text();
    entries.frame = Check1_->isChecked();
    for (int i = 0; i < CdLabelEntries::RowCount; ++i)
        entries.rows << SSLbl_->item(i, 0)->text();
    entries.store(workspace_.settings);
    Form_Load();

    PVIEW(workspace_, prompts_, PreviewDocument::Label, this).exec();
}
