#pragma once

#include "excel/ui/report_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class Prompts;
class Workspace;
class WorkbookOpener;

// "点の記４点EXCEL出力": the album's photos as survey point records.
class DialogTen4 : public ReportDialog {
    Q_OBJECT
public:
    DialogTen4(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

private:
    void Command1_Click();
    void OKButton_Click();

    QLineEdit* Text_[4];
    QCheckBox* Chk1_;
    QComboBox* Cmb1_;
    QLineEdit* SimaNM_;
};
