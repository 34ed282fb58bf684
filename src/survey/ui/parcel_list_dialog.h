#pragma once

#include "survey/real_estate_report.h"
#include "survey/sima_reader.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;
class Prompts;
class Workspace;
class WorkbookOpener;

// "不動産報告書出力": lists the parcels of a SIMA file; the chosen ones fill the album (a row a
// point) or become the real-estate report workbook.
class DialogSIMA2 : public QDialog {
    Q_OBJECT
public:
    static const QString Caption; // "不動産報告書出力"

    DialogSIMA2(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent = nullptr);

    // Selected list rows (from 1), in list order.
    QList<int> selectedParcels() const;

protected:
    void reject() override;

private:
    void Command1_Click();
    void OKButton_Click();
    void Command3_Click();
    void writeReport(const RealEstateReport::Request& request, const QString& output);
    void fillList();
    bool checkChoice();
    void saveSettings();
    void setPanels(const QString& first, const QString& second = {}, const QString& third = {});

    Workspace& workspace_;
    Prompts& prompts_;
    WorkbookOpener& opener_;
    QTableWidget* vSS1_;
    QTableWidget* YMN_;
    QLineEdit* Text1_;
    QRadioButton* Opt1_[2];
    QList<QLabel*> panels_;
    ParcelTables tables_;
    bool running_ = false;
};

// Import4 of the main window. True when the dialog wrote rows: FirstNewRow..LastNewRow then
// name the rows whose thumbnails are due.
bool runParcelList(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent);
