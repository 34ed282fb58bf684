#pragma once

#include "print/print_range.h"
#include "print/print_setup.h"
#include "print/ui/printer_output.h"

#include <QDialog>

class PrintDocument;
class Prompts;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;

// "印刷": prints all pages or a range of the document the preview built, on its printer. A
// printer that is not installed here is named as such and another one is chosen first.
class PriForm : public QDialog {
    Q_OBJECT
public:
    PriForm(const PrintJob& job, PrintDocument& document, QPrinter& printer, InstalledPrinters printers,
            Prompts& prompts, QWidget* parent = nullptr);

    int FromPage() const { return range_.FromPage; }
    int ToPage() const { return range_.ToPage; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPrinterFrame(const PrintJob& job);
    QWidget* buildRangeFrame();
    void Command1_Click();
    void choosePrinter();
    void showPrinter(const PrinterCheck& check);
    bool toPrinter() const;
    // False when the pages would go to another printer than the one shown.
    bool printerReady();

    PrintDocument& document_;
    QPrinter& printer_;
    InstalledPrinters printers_;
    Prompts& prompts_;
    PrintRange range_;
    PrinterCheck printerCheck_;
    QLabel* Dvc_ = nullptr;
    QLabel* printerNote_ = nullptr;
    QPushButton* choosePrinter_ = nullptr;
    QPushButton* ok_ = nullptr;
    QRadioButton* Option1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
};
