#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class Prompts;
class Workspace;
class WorkbookOpener;

// "写真帳出力": the album written into the fixed or the Free workbook.
class EXOUTDialog : public QDialog {
    Q_OBJECT
public:
    EXOUTDialog(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

Q_SIGNALS:
    // A photo could not be read: the album's cursor goes to this row's file name.
    void photoRowFailed(int row);

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();
    void Command2_Click();
    void runOutput(bool free);
    void storeFields();

    Workspace& workspace_;
    Prompts& prompts_;
    WorkbookOpener& opener_;
    QLineEdit* Text1_;
    QLineEdit* Text2_;
    QLineEdit* Text3_;
    QLabel* panels_[2];
    bool running_ = false;
};
