#pragma once

#include "survey/sima_reader.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class Prompts;
class Workspace;

// "SIMAから画地インポート": reads a PM file and a SIMA file, then fills the album with two rows
// a boundary point.
class DialogSIMA : public QDialog {
    Q_OBJECT
public:
    static const QString Caption; // "SIMAから画地インポート"

    DialogSIMA(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    const QList<SimaParcelPoint>& boundaryPoints() const { return points_; }

private:
    void Command1_Click();
    void Command2_Click();
    void OKButton_Click();
    void showStatus(const QString& activity, const QString& count = {});

    Workspace& workspace_;
    Prompts& prompts_;
    QLineEdit* Text1_;
    QLineEdit* Text5_;
    QLineEdit* Text2_;
    QLineEdit* Text3_;
    QLineEdit* Text4_;
    QList<QLabel*> panels_;
    QList<SimaParcelPoint> points_;
};

// Import3 of the main window. True when the dialog wrote rows: FirstNewRow..LastNewRow then
// name the rows whose thumbnails are due.
bool runParcelImport(Workspace& workspace, Prompts& prompts, QWidget* parent);
