#pragma once

#include "excel/ui/report_dialog.h"

#include <functional>

class QLabel;
class QLineEdit;
class Prompts;
class Workspace;
class WorkbookOpener;

// "写真帳出力": the album written into the fixed or the Free workbook.
class EXOUTDialog : public ReportDialog {
    Q_OBJECT
public:
    EXOUTDialog(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void runOutput(bool free);
    void storeFields();

    QLineEdit* Text1_;
    QLineEdit* Text2_;
    QLineEdit* Text3_;
};
