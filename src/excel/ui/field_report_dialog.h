#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;
class Prompts;
class Workspace;
class WorkbookOpener;

// "現地踏査出力": the album's photos in one of the survey reports.
class DialogGentou : public QDialog {
    Q_OBJECT
public:
    DialogGentou(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

Q_SIGNALS:
    // A photo could not be read: the album's cursor goes to this row's file name.
    void photoRowFailed(int row);

protected:
    void done(int result) override;

private:
    void Option1_Click(int index);
    void OKButton_Click();
    int selectedKind() const;

    Workspace& workspace_;
    Prompts& prompts_;
    WorkbookOpener& opener_;
    QList<QRadioButton*> Option1_;
    QLineEdit* Text1_;
    QLabel* panels_[2];
    bool running_ = false;
};
