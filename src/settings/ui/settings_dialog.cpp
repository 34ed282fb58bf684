#include "settings/ui/settings_dialog.h"

#include "base/app_error.h"
#include "base/font_choice.h"
#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "settings/settings_transfer.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

const QString frmJoken::NoFreeTemplate = u"FreeのEXCELﾌｧｲﾙが選択されてません。"_s;
const QString frmJoken::FreeTemplateFilter = u"EXCELﾌｧｲﾙ (*.xlsx;*.xls)|*.xlsx;*.xls"_s;

namespace {

QString indexed(const char* name, int index) {
    return QString::fromLatin1(name) + u'(' + QString::number(index) + u')';
}

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* shortEdit(QWidget* parent, const QString& name, int width = 50) {
    auto* edit = named(new QLineEdit(parent), name);
    edit->setMaximumWidth(width);
    return edit;
}

int checkValue(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

} // namespace

frmJoken::frmJoken(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"frmJoken"_s);
    setWindowTitle(u"条件設定"_s);

    auto* tabs = named(new QTabWidget(this), u"SSTab1"_s);
    tabs->addTab(buildPrintTab(), u"印刷"_s);
    tabs->addTab(buildOtherTab(), u"その他"_s);
    tabs->addTab(buildInfoTab(), u"写真情報"_s);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const QString& caption) {
        auto* b = named(new QPushButton(caption, this), QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    QPushButton* load = button("Command4", u"設定呼出"_s);
    QPushButton* save = button("Command3", u"設定保存"_s);
    buttons->addStretch(1);
    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"cmdOK", u"OK"_s, DialogParts::Enter::Ignored},
                                 {"cmdCancel", u"ｷｬﾝｾﾙ"_s, DialogParts::Enter::Ignored});
    buttons->addWidget(row.box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);

    connect(load, &QPushButton::clicked, this, &frmJoken::Command4_Click);
    connect(save, &QPushButton::clicked, this, &frmJoken::Command3_Click);
    connect(row.ok, &QPushButton::clicked, this, &frmJoken::cmdOK_Click);
    connect(row.cancel, &QPushButton::clicked, this, &QDialog::reject);
    Form_Load();
}

QWidget* frmJoken::buildPrintTab() {
    auto* tab = new QWidget;
    auto* paper = new QGroupBox(u"用紙"_s, tab);
    auto* paperLayout = new QVBoxLayout(paper);
    Opt1_[0] = named(new QRadioButton(u"A3横（6写真）"_s, paper), indexed("Opt1", 0));
    Opt1_[1] = named(new QRadioButton(u"A4縦（3写真）"_s, paper), indexed("Opt1", 1));
    paperLayout->addWidget(Opt1_[0]);
    paperLayout->addWidget(Opt1_[1]);

    auto* size = new QGroupBox(u"写真サイズ(mm）"_s, tab);
    auto* sizeLayout = new QGridLayout(size);
    const QString sizeCaptions[] = {u"横"_s, u"縦"_s};
    for (int i = 0; i < 2; ++i) {
        TXSZ_[i] = shortEdit(size, indexed("TXSZ", i));
        sizeLayout->addWidget(new QLabel(sizeCaptions[i], size), i, 0);
        sizeLayout->addWidget(TXSZ_[i], i, 1);
    }

    auto* margins = new QGroupBox(u"余白"_s, tab);
    auto* marginLayout = new QGridLayout(margins);
    const QString marginCaptions[] = {u"上"_s, u"下"_s, u"左"_s, u"右"_s};
    for (int i = 0; i < 4; ++i) {
        txaki_[i] = shortEdit(margins, indexed("txaki", i));
        marginLayout->addWidget(new QLabel(marginCaptions[i], margins), i / 2, (i % 2) * 2);
        marginLayout->addWidget(txaki_[i], i / 2, (i % 2) * 2 + 1);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(paper);
    top->addWidget(size);
    top->addWidget(margins);

    chk1_ = named(new QCheckBox(u"写真無しの時、「余白」文字を入れる。"_s, tab), u"chk1"_s);
    chk2_ = named(new QCheckBox(u"A3横印刷時、左右を鏡面配置とする。"_s, tab), u"chk2"_s);

    TXFont_ = named(new QLineEdit(tab), u"TXFont"_s);
    TXFont_->setReadOnly(true);
    auto* fontButton = named(new QPushButton(u"参照"_s, tab), u"Command1"_s);
    PRCmb_ = named(new QComboBox(tab), u"PRCmb"_s);
    PRCmb_->setMinimumContentsLength(24);
    Label12_ = named(new QLabel(tab), u"Label12"_s);
    Label12_->setFrameShape(QFrame::StyledPanel);
    Label12_->setMinimumWidth(300);
    Label12_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* freeButton = named(new QPushButton(u"Free選択"_s, tab), u"Command2"_s);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(u"写真情報　Font名：サイズ"_s, tab), 0, 0);
    grid->addWidget(TXFont_, 0, 1);
    grid->addWidget(fontButton, 0, 2);
    grid->addWidget(new QLabel(u"印刷プリンタ機器名"_s, tab), 1, 0);
    grid->addWidget(PRCmb_, 1, 1);
    grid->addWidget(new QLabel(u"Free EXCELﾌｧｲﾙ名"_s, tab), 2, 0);
    grid->addWidget(Label12_, 2, 1);
    grid->addWidget(freeButton, 2, 2);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(top);
    layout->addWidget(chk1_);
    layout->addWidget(chk2_);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(Opt1_[0], &QRadioButton::toggled, this, [this](bool a3) { chk2_->setEnabled(a3); });
    connect(fontButton, &QPushButton::clicked, this, &frmJoken::Command1_Click);
    connect(freeButton, &QPushButton::clicked, this, &frmJoken::Command2_Click);
    return tab;
}

QWidget* frmJoken::buildOtherTab() {
    auto* tab = new QWidget;
    Chk10_ = named(new QCheckBox(u"XML出力の際、写真帳詳細を写真情報予備とする。"_s, tab), u"Chk10"_s);
    Chk11_ = named(new QCheckBox(u"電子納品の為のチェック機能を有効にする。"_s, tab), u"Chk11"_s);
    auto* copy = new QGroupBox(u"COPY処理"_s, tab);
    Check1_ = named(new QCheckBox(u"１つ目のハイフン前でフォルダー分けを行う。"_s, copy), u"Check1"_s);
    Text1_ = shortEdit(copy, u"Text1"_s, 120);
    Text2_ = shortEdit(copy, u"Text2"_s, 120);
    auto* copyLayout = new QGridLayout(copy);
    copyLayout->addWidget(Check1_, 0, 0, 1, 2);
    copyLayout->addWidget(new QLabel(u"近景付加文字："_s, copy), 1, 0);
    copyLayout->addWidget(Text1_, 1, 1);
    copyLayout->addWidget(new QLabel(u"遠景付加文字："_s, copy), 2, 0);
    copyLayout->addWidget(Text2_, 2, 1);
    copyLayout->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Chk10_);
    layout->addWidget(Chk11_);
    layout->addWidget(copy);
    layout->addStretch(1);
    return tab;
}

QWidget* frmJoken::buildInfoTab() {
    auto* tab = new QWidget;
    Chk13_ = named(new QCheckBox(u"一覧表の写真を表示する。"_s, tab), u"Chk13"_s);
    Chk12_ = named(new QCheckBox(u"情報登録で、直前複写機能は全ての項目を対象とする。"_s, tab), u"Chk12"_s);
    auto* info = new QGroupBox(u"情報"_s, tab);
    const QString captions[] = {u"写真ﾌｧｲﾙ情報から項目自動記入する。"_s, u"ファイル名"_s, u"種　別"_s,
                                u"ﾃﾞｨﾚｸﾄﾘｰ名"_s};
    for (int i = 0; i < 4; ++i) {
        Check2_[i] = named(new QCheckBox(captions[i], info), indexed("Check2", i));
        Txt8_[i] = shortEdit(info, indexed("Txt8", i), 40);
    }
    Check3_ = named(new QCheckBox(u"拡張子を除く"_s, info), u"Check3"_s);
    const auto caption = [this, info](int box, const QString& text) {
        auto* label = named(new QLabel(text, info),
                            indexed("Txt8Label", box) + QString::number(Txt8Labels_[box].size()));
        Txt8Labels_[box] << label;
        return label;
    };
    auto* grid = new QGridLayout(info);
    grid->addWidget(Check2_[0], 0, 0, 1, 6);
    grid->addWidget(Check2_[1], 1, 0);
    grid->addWidget(Txt8_[0], 1, 2);
    grid->addWidget(caption(0, u"行目"_s), 1, 3);
    grid->addWidget(Check3_, 1, 4);
    grid->addWidget(Check2_[2], 2, 0);
    grid->addWidget(Txt8_[1], 2, 2);
    grid->addWidget(caption(1, u"行目　※近景・遠景判断"_s), 2, 3, 1, 3);
    grid->addWidget(Check2_[3], 3, 0);
    grid->addWidget(caption(2, u"下1"_s), 3, 1);
    grid->addWidget(Txt8_[2], 3, 2);
    grid->addWidget(caption(2, u"行目"_s), 3, 3);
    grid->addWidget(Txt8_[3], 3, 4);
    grid->addWidget(caption(3, u"行目　下2"_s), 3, 5);
    grid->setColumnStretch(6, 1);
    for (QCheckBox* box : Check2_)
        connect(box, &QCheckBox::clicked, this, &frmJoken::applyEnabling);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Chk13_);
    layout->addWidget(Chk12_);
    layout->addWidget(info);
    layout->addStretch(1);
    return tab;
}

void frmJoken::Form_Load() {
    Settings& s = workspace_.settings;
    const auto isOn = [&s](int item) { return s.itemIsOn(item); };
    (s.itemNumber(SettingItem::PaperLayout) == 0 ? Opt1_[0] : Opt1_[1])->setChecked(true);
    chk2_->setEnabled(Opt1_[0]->isChecked());
    TXSZ_[0]->setText(s.itemText(SettingItem::PhotoWidthMm));
    TXSZ_[1]->setText(s.itemText(SettingItem::PhotoHeightMm));
    Text1_->setText(s.itemText(SettingItem::NearSuffix).trimmed());
    Text2_->setText(s.itemText(SettingItem::FarSuffix).trimmed());
    for (int i = 0; i < 4; ++i)
        txaki_[i]->setText(s.itemText(SettingItem::MarginTopMm + i));

    if (s.itemIsUnset(SettingItem::ShowThumbnails))
        s.setItem(SettingItem::ShowThumbnails, SettingValue::number(1));
    if (s.itemIsUnset(SettingItem::SplitByHyphen))
        s.setItem(SettingItem::SplitByHyphen, SettingValue::number(0));
    chk1_->setChecked(isOn(SettingItem::BlankMarkEmpty));
    chk2_->setChecked(isOn(SettingItem::MirrorA3));
    Chk10_->setChecked(isOn(SettingItem::XmlDetailAsSpare));
    Chk11_->setChecked(isOn(SettingItem::DeliveryChecks));
    Chk12_->setChecked(isOn(SettingItem::CopyAllItems));
    Chk13_->setChecked(isOn(SettingItem::ShowThumbnails));
    Check1_->setChecked(isOn(SettingItem::SplitByHyphen));
    Check3_->setChecked(isOn(SettingItem::StripExtension));
    TXFont_->setText(s.itemText(SettingItem::InfoFont));

    PRCmb_->addItems(QPrinterInfo::availablePrinterNames());
    PRCmb_->setCurrentIndex(
        PRCmb_->findText(s.itemText(SettingItem::PrinterName), Qt::MatchExactly | Qt::MatchCaseSensitive));

    const QString free = s.itemText(SettingItem::FreeTemplatePath);
    Label12_->setText(free.isEmpty() || free.startsWith(u'*') ? NoFreeTemplate : free);

    if (s.itemIsUnset(SettingItem::AutoFillFromFile))
        for (int item = SettingItem::AutoFillFromFile; item <= SettingItem::AutoFillFolderNames; ++item)
            s.setItem(item, SettingValue::number(0));
    for (int i = 0; i < 4; ++i) {
        Check2_[i]->setChecked(isOn(SettingItem::AutoFillFromFile + i));
        Txt8_[i]->setText(s.itemText(SettingItem::FileNameLine + i));
    }
    applyEnabling();
}

void frmJoken::applyEnabling() {
    const bool on = Check2_[0]->isChecked();
    const bool follows[4] = {Check2_[1]->isChecked(), Check2_[2]->isChecked(), Check2_[3]->isChecked(),
                             Check2_[3]->isChecked()};
    for (int i = 1; i < 4; ++i)
        Check2_[i]->setEnabled(on);
    Check3_->setEnabled(on && follows[0]);
    for (int i = 0; i < 4; ++i) {
        Txt8_[i]->setEnabled(on && follows[i]);
        for (QLabel* label : Txt8Labels_[i])
            label->setEnabled(on && follows[i]);
    }
}

void frmJoken::Command1_Click() {
    const QString current = TXFont_->text();
    const std::optional<QString> chosen = prompts_.chooseFont(current.contains(u':') ? current : QString());
    if (!chosen) return;
    // Stored as "name:size" with the size in its shortest form, whatever spelling came back.
    if (const std::optional<FontChoice::Font> font = FontChoice::parse(*chosen); font && font->size > 0)
        TXFont_->setText(FontChoice::format(*font));
}

void frmJoken::Command2_Click() {
    const QString path = prompts_.openFile({u"Free選択"_s, FreeTemplateFilter, 1, {}});
    // A cancelled choice keeps the template chosen before.
    if (path.isEmpty()) return;
    workspace_.settings.setItem(SettingItem::FreeTemplatePath, SettingValue::string(path));
    Label12_->setText(path);
}

void frmJoken::Command3_Click() {
    const QString path = prompts_.saveFile({u"設定保存"_s, SettingsTransfer::DialogFilter, 1,
                                            workspace_.outputFolder(), ProgramFiles::SettingsFileName});
    if (path.isEmpty() || !SettingsTransfer::mayReplaceTargets(workspace_, prompts_, path)) return;
    try {
        SettingsTransfer::saveToFolderOf(workspace_, path);
    } catch (const AppError& error) {
        prompts_.tell(error.message(), u"エラー"_s, Prompts::Icon::Critical);
    }
}

void frmJoken::Command4_Click() {
    const QString path = prompts_.openFile({u"設定呼出"_s, SettingsTransfer::DialogFilter, 1, {}});
    if (path.isEmpty()) return;
    try {
        SettingsTransfer::loadFrom(workspace_, path);
    } catch (const AppError& error) {
        prompts_.tell(error.message(), u"エラー"_s, Prompts::Icon::Critical);
        return;
    }
    prompts_.tell(SettingsTransfer::LoadedMessage, SettingsTransfer::LoadedTitle, Prompts::Icon::Exclamation);
    reject();
}

void frmJoken::cmdOK_Click() {
    Settings& s = workspace_.settings;
    const auto text = [&s](int item, const QString& value) { s.setItem(item, SettingValue::string(value)); };
    const auto check = [&s](int item, const QCheckBox* box) {
        s.setItem(item, SettingValue::number(checkValue(box)));
    };
    s.setItem(SettingItem::PaperLayout, SettingValue::number(Opt1_[0]->isChecked() ? 0 : 1));
    text(SettingItem::PhotoWidthMm, TXSZ_[0]->text());
    text(SettingItem::PhotoHeightMm, TXSZ_[1]->text());
    text(SettingItem::NearSuffix, Text1_->text().trimmed());
    text(SettingItem::FarSuffix, Text2_->text().trimmed());
    for (int i = 0; i < 4; ++i)
        text(SettingItem::MarginTopMm + i, txaki_[i]->text());
    check(SettingItem::BlankMarkEmpty, chk1_);
    check(SettingItem::MirrorA3, chk2_);
    text(SettingItem::InfoFont, TXFont_->text());
    check(SettingItem::XmlDetailAsSpare, Chk10_);
    check(SettingItem::DeliveryChecks, Chk11_);
    check(SettingItem::CopyAllItems, Chk12_);
    check(SettingItem::ShowThumbnails, Chk13_);
    check(SettingItem::SplitByHyphen, Check1_);
    check(SettingItem::StripExtension, Check3_);
    text(SettingItem::PrinterName, PRCmb_->currentText());
    for (int i = 0; i < 4; ++i) {
        check(SettingItem::AutoFillFromFile + i, Check2_[i]);
        text(SettingItem::FileNameLine + i, Txt8_[i]->text());
    }
    accept();
}
