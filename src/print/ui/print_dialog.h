#pragma once

#include "print/print_range.h"
#include "print/print_setup.h"

#include <QDialog>

class PrintDocument;
class Prompts;
class QLineEdit;
class QPrinter;
class QRadioButton;

// "印刷": prints all pages or a range of the document the preview built, on its printer.
class PriForm : public QDialog {
    Q_OBJECT
public:
    PriForm(const PrintJob& job, PrintDocument& document, QPrinter& printer, Prompts& prompts,
            QWidget* parent = nullptr);

    int FromPage() const { return range_.FromPage; }
    int ToPage() const { return range_.ToPage; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();

    PrintDocument& document_;
    QPrinter& printer_;
    Prompts& prompts_;
    PrintRange range_;
    QRadioButton* Option1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
};
