#pragma once

#include "print/preview_document.h"
#include "print/print_document.h"
#include "print/print_setup.h"

#include <QDialog>
#include <QPrinter>

class Prompts;
class PreviewSurface;
class QLabel;
class QPushButton;
class QScrollArea;
class Workspace;

// "プレビュー": builds the album pages or the CD label page, as its opener asks, when it opens,
// and lets the user zoom, flip pages, set up the page, print and save a PDF.
class PVIEW : public QDialog {
    Q_OBJECT
public:
    PVIEW(Workspace& workspace, Prompts& prompts, PreviewDocument::Kind kind = PreviewDocument::Album,
          QWidget* parent = nullptr);

    PreviewDocument::Kind kind() const { return kind_; }

    const PrintDocument& document() const { return vsPrinter1_; }
    const PrintJob& job() const { return job_; }
    QPrinter& printer() { return printer_; }

    enum Direction { Previous = 1, Next = 2 };
    void FlipPage(Direction direction);

private:
    void pv_cont();
    void zoomBy(int step);
    void Command1_Click();
    void cmdToPrinter_Click();
    void CmdPdf_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    PreviewDocument::Kind kind_;
    PrintDocument vsPrinter1_;
    PrintJob job_;
    QPrinter printer_;
    PreviewSurface* surface_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QPushButton* zoomIn_ = nullptr;
    QPushButton* zoomOut_ = nullptr;
    QPushButton* Cmdato_ = nullptr;
    QPushButton* Cmdmae_ = nullptr;
    QLabel* panel1_ = nullptr;
};
