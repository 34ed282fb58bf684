#pragma once

#include <QDialog>

class QTableWidget;
class Prompts;
class Workspace;

// "文字列登録": the 500 phrases, edited in place. Modeless; closing it saves "MJRT.dat".
class MOJDialog : public QDialog {
    Q_OBJECT
public:
    MOJDialog(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    // However it closes (close box, Esc), the phrases are saved.
    void done(int result) override;

private:
    void Command1_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    QTableWidget* MJSS_ = nullptr;
};
