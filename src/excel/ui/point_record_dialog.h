#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class Prompts;
class Workspace;
class WorkbookOpener;

// "点の記４点EXCEL出力": the album's photos as survey point records.
class DialogTen4 : public QDialog {
    Q_OBJECT
public:
    DialogTen4(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

Q_SIGNALS:
    // A photo could not be read: the album's cursor goes to this row's file name.
    void photoRowFailed(int row);

protected:
    void done(int result) override;

private:
    void Command1_Click();
    void OKButton_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    WorkbookOpener& opener_;
    QLineEdit* Text_[4];
    QCheckBox* Chk1_;
    QComboBox* Cmb1_;
    QLineEdit* SimaNM_;
    QLabel* panels_[2];
    bool running_ = false;
};
