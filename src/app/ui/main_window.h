#pragma once

#include <QMainWindow>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class Prompts;
class Workspace;

// The main window: the album sheet and the buttons that start every command.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    // Start-up after the single-instance check; albumPath may be empty.
    void startUp(const QString& albumPath);

    QTableView* sheetView() const { return SS1_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildBrowserPanel();
    QWidget* buildButtonRows();
    void buildMenus();
    void buildStatusBar();
    void sizeSheet();
    QPushButton* addButton(const char* name, const QString& caption, const QString& toolTip);

    void clearSelectedCells();
    void CMDnew_Click();
    void CMDload_Click();
    void CMDsave_Click();
    void Command7_Click();
    void Command1_Click();
    void CMDEXL_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    QTableView* SS1_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QLabel* panels_[4] = {};
    bool shutDownDone_ = false;
};
