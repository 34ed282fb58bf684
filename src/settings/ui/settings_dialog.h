#pragma once

#include <QDialog>

class Prompts;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class Workspace;

// "条件設定": edits the print, delivery, copy and information settings in memory, and saves or
// loads the settings file with the phrase dictionary.
class frmJoken : public QDialog {
    Q_OBJECT
public:
    frmJoken(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    static const QString NoFreeTemplate; // "FreeのEXCELﾌｧｲﾙが選択されてません。"
    static const QString FreeTemplateFilter;

private:
    QWidget* buildPrintTab();
    QWidget* buildOtherTab();
    QWidget* buildInfoTab();
    void Form_Load();
    void applyEnabling();
    void Command1_Click(); // 参照
    void Command2_Click(); // Free選択
    void Command3_Click(); // 設定保存
    void Command4_Click(); // 設定呼出
    void cmdOK_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    QRadioButton* Opt1_[2] = {};
    QLineEdit* TXSZ_[2] = {};
    QLineEdit* txaki_[4] = {};
    QCheckBox* chk1_ = nullptr;
    QCheckBox* chk2_ = nullptr;
    QLineEdit* TXFont_ = nullptr;
    QComboBox* PRCmb_ = nullptr;
    QLabel* Label12_ = nullptr;
    QCheckBox* Chk10_ = nullptr;
    QCheckBox* Chk11_ = nullptr;
    QCheckBox* Chk12_ = nullptr;
    QCheckBox* Chk13_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QCheckBox* Check2_[4] = {};
    QCheckBox* Check3_ = nullptr;
    QLineEdit* Txt8_[4] = {};
    QList<QLabel*> Txt8Labels_[4]; // the "行目" / "下1" / "下2" captions of each line box
};
