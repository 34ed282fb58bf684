#include "excel/ui/report_dialog.h"

#include "base/output_choice.h"
#include "workspace/workspace.h"
#include "xlsx/workbook_opener.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QStatusBar>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Title = u"確認"_s;

} // namespace

ReportDialog::ReportDialog(Workspace& workspace, Prompts& prompts, WorkbookOpener& opener, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts), opener_(opener) {}

void ReportDialog::addStatusPanels(QBoxLayout* layout, const QString& name) {
    auto* status = new QStatusBar(this);
    status->setObjectName(name);
    status->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(status);
        panels_[i]->setObjectName(name + u"Panel"_s + QString::number(i + 1));
        status->addWidget(panels_[i], i == 0 ? 3 : 1);
    }
    layout->addWidget(status);
}

void ReportDialog::done(int result) {
    if (running_) return;
    QDialog::done(result);
}

// In the workspace's output folder under the proposed name, ".xlsx" added, never over the open
// album or its photos, asking before an existing file is replaced. Empty when cancelled.
QString ReportDialog::chooseOutput(const QString& proposedName) {
    return OutputChoice::chooseFile(prompts_,
                                    {u"名前を付けて保存"_s, u"Excel ブック (*.xlsx)|*.xlsx"_s, 1,
                                     workspace_.outputFolder(), proposedName},
                                    u".xlsx"_s, workspace_.outputGuard(), Title);
}

bool ReportDialog::refuse(const ReportResult& refusal) {
    if (!refusal) return false;
    prompts_.tell(refusal->message, Title, refusal->icon);
    return true;
}

ReportDialog::Outcome ReportDialog::runReport(const Run& run) {
    const QString output = chooseOutput(run.proposedName);
    if (output.isEmpty()) return Outcome::NotRun;
    QStringList notes;
    const ReportResult failure = execute(run, output, &notes);
    if (failure && failure->cancelled()) return Outcome::Cancelled;
    if (failure) {
        prompts_.tell(failure->message, Title, failure->icon);
        if (!failure->badRows.isEmpty()) Q_EMIT photoRowFailed(failure->badRows.first());
        return failure->keepDialogOpen ? Outcome::Refused : Outcome::Failed;
    }
    showWrittenWorkbook(prompts_, opener_, output, notes);
    return Outcome::Written;
}

ReportResult ReportDialog::execute(const Run& run, const QString& output, QStringList* notes) {
    std::unique_ptr<QProgressDialog> progress;
    if (!run.progressTitle.isEmpty()) {
        progress = std::make_unique<QProgressDialog>(run.progressTitle, u"キャンセル"_s, 0,
                                                     run.progressMaximum, this);
        progress->setObjectName(u"Progress"_s);
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(300);
    }
    running_ = true;
    ReportResult failure;
    {
        BusyScope busy(prompts_);
        failure = run.job(
            output,
            [&](const QString& activity, int row, int done, int total) {
                showPanels(activity, row);
                if (progress) {
                    progress->setLabelText(activity);
                    progress->setMaximum(total);
                    progress->setValue(done);
                }
                QApplication::processEvents();
                return !progress || !progress->wasCanceled();
            },
            notes);
    }
    running_ = false;
    if (progress) progress->reset();
    showPanels({}, 0);
    return failure;
}

void ReportDialog::showPanels(const QString& activity, int row) {
    panels_[0]->setText(activity);
    panels_[1]->setText(row > 0 ? QString::number(row) : QString());
}
