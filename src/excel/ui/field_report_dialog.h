#pragma once

#include "excel/ui/report_dialog.h"

class QLabel;
class QLineEdit;
class QRadioButton;
class Prompts;
class Workspace;
class WorkbookOpener;

// "現地踏査出力": the album's photos in one of the survey reports.
class DialogGentou : public ReportDialog {
    Q_OBJECT
public:
    DialogGentou(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

private:
    void Option1_Click(int index);
    void OKButton_Click();
    int selectedKind() const;

    QList<QRadioButton*> Option1_;
    QLineEdit* Text1_;
};
