#pragma once

#include "base/progress.h"
#include "xlsx/report_pipeline.h"

#include <QDialog>

#include <functional>

class QBoxLayout;
class QLabel;
class Prompts;
class Workspace;
class WorkbookOpener;

// What the workbook report dialogs share: the save dialog, the run with its status panels, the
// failure's message and photo row, and the written workbook opened.
class ReportDialog : public QDialog {
    Q_OBJECT
public:
    ReportDialog(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent);

Q_SIGNALS:
    // A photo could not be read: the album's cursor goes to this row's file name.
    void photoRowFailed(int row);

protected:
    enum class Outcome {
        NotRun,    // the save dialog was cancelled
        Cancelled, // stopped by the user: nothing written, and the dialog says so
        Refused,   // the request cannot be run as it is; the dialog stays for a change
        Failed,
        Written,
    };
    // Runs on a worker thread: it reads only what it was given, never the album sheet.
    using Job =
        std::function<ReportResult(const QString& output, const Progress& progress, QStringList* notes)>;
    struct Run {
        QString proposedName; // the file name the save dialog proposes
        Job job;
    };

    // Asks where to write, runs the job behind a progress window with 中止 and tells how it went.
    Outcome runReport(const Run& run);
    // A refusal before anything runs, told as a failed run tells it; true when there was one.
    bool refuse(const ReportResult& refusal);
    // The status bar of two panels, "NAMEPanel1" (the activity) and "NAMEPanel2" (the row).
    void addStatusPanels(QBoxLayout* layout, const QString& name);
    bool isRunning() const { return running_; }
    void done(int result) override;

    Workspace& workspace_;
    Prompts& prompts_;

private:
    QString chooseOutput(const QString& proposedName);
    ReportResult execute(const Run& run, const QString& output, QStringList* notes);
    void showPanels(const QString& activity, int row);

    WorkbookOpener& opener_;
    QLabel* panels_[2] = {};
    bool running_ = false;
};
