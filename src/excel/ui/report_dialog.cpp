#include "excel/ui/report_dialog.h"

#include "base/output_choice.h"
#include "base/ui/job_runner.h"
#include "workspace/workspace.h"
#include "xlsx/workbook_opener.h"

#include <QBoxLayout>
#include <QLabel>
#include <QScopeGuard>
#include <QStatusBar>

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
    ReportResult failure;
    try {
        failure = execute(run, output, &notes);
    } catch (const Cancelled&) {
        prompts_.tell(Cancelled::NothingWritten, Title, Prompts::Icon::Information);
        return Outcome::Cancelled;
    }
    if (failure) {
        prompts_.tell(failure->message, Title, failure->icon);
        if (!failure->badRows.isEmpty()) Q_EMIT photoRowFailed(failure->badRows.first());
        return failure->keepDialogOpen ? Outcome::Refused : Outcome::Failed;
    }
    showWrittenWorkbook(prompts_, opener_, output, notes);
    return Outcome::Written;
}

ReportResult ReportDialog::execute(const Run& run, const QString& output, QStringList* notes) {
    JobRunner runner(this);
    runner.showWindow({u"Progress"_s, windowTitle(), u"出力を準備しています…"_s, u"中止"_s, 300});
    runner.onStep([this](const ProgressStep& step) { showPanels(step.activity, step.row); });
    running_ = true;
    const auto over = qScopeGuard([this] {
        running_ = false;
        showPanels({}, 0);
    });
    BusyScope busy(prompts_);
    return runner.run([&](const Progress& progress) { return run.job(output, progress, notes); });
}

void ReportDialog::showPanels(const QString& activity, int row) {
    panels_[0]->setText(activity);
    panels_[1]->setText(row > 0 ? QString::number(row) : QString());
}
