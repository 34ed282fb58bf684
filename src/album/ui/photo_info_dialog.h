#pragma once

#include "base/blackboard_xmp.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class QTableWidgetItem;
class PhotoView;
class Prompts;
class Workspace;

// "情報設定": the information of one album row beside its photo. Modeless; OK writes the
// 19 lines into the row it was opened for, wherever that row has moved since.
class frmPIC : public QDialog {
    Q_OBJECT
public:
    frmPIC(Workspace& workspace, Prompts& prompts, int row, QWidget* parent = nullptr);

    int openedRow() const { return openedRow_; }
    // The free lines and delivery items as now shown.
    QStringList lines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFreeLinesTab();
    QWidget* buildItemsTab(const QList<int>& items, bool withFlags = false);
    QWidget* buildBlackboardTab();
    void showLines(const QStringList& lines, bool freeLinesToo);
    void setFreeLine(int line, const QString& text);
    void freeLineEdited(QTableWidgetItem* item);
    void cmdOK_Click();
    void CMDcopy_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    int openedRow_;
    quint64 rowId_;
    QString PhotoPath;
    QTableWidget* SS2_ = nullptr;
    QList<QComboBox*> items_;   // Cmb1(0..4) then Cmb2(0..5)
    QCheckBox* Chk1_ = nullptr; // 代表写真
    QCheckBox* Chk2_ = nullptr; // 提出頻度写真
    PhotoView* Picture2_ = nullptr;
    QLabel* PhotName_ = nullptr;
    bool applyingRules_ = false;
    BlackboardReading blackboard_; // of the photo, read once when the dialog opens
};
