#pragma once

#include <QDialog>

class Prompts;
class QCheckBox;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class Workspace;

// "埼玉県電子納品用CDﾗﾍﾞﾙ出力": the label texts and the label's place on the sheet, kept in
// the settings and handed to the label preview.
class DialogLbl : public QDialog {
    Q_OBJECT
public:
    DialogLbl(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

private:
    QTableWidget* buildLabelGrid();
    void Form_Load();
    void OKButton_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    QRadioButton* Opt1_[2] = {};
    QTableWidget* SSLbl_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QCheckBox* Check1_ = nullptr;
};
