#include "album/ui/photo_copy_dialog.h"

#include "base/prompts.h"
#include "base/ui/job_runner.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

DialogSamN2::DialogSamN2(Workspace& workspace, QWidget* parent) : QDialog(parent), workspace_(workspace) {
    setObjectName(u"DialogSamN2"_s);
    setWindowTitle(PhotoCopy::ActivityText);
    auto* layout = new QVBoxLayout(this);
    Label1_ = new QLabel(u"n個の画像の処理中です。"_s, this);
    Label1_->setObjectName(u"Label1"_s);
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(u"ProgressBar1"_s);
    cmdCancel_ = new QPushButton(u"中止(&S)"_s, this);
    cmdCancel_->setObjectName(u"cmdCancel"_s);
    cmdCancel_->setAutoDefault(false);
    layout->addWidget(Label1_);
    layout->addWidget(ProgressBar1_);
    layout->addWidget(cmdCancel_, 0, Qt::AlignRight);
    setMinimumWidth(320);
}

void DialogSamN2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!FirstActivation_) return;
    FirstActivation_ = false;
    QTimer::singleShot(0, this, &DialogSamN2::run);
}

void DialogSamN2::run() {
    const int first = workspace_.FirstNewRow;
    const int last = workspace_.LastNewRow;
    const int count = std::max(last - first + 1, 0);
    ProgressBar1_->setRange(0, count);
    Label1_->setText(QString::number(count) + u"個の画像の処理中です。"_s);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The worker gets its own copy of what it reads: the sheet stays with this thread.
    const QList<PhotoCopy::SourceRow> rows = PhotoCopy::rowsOf(workspace_.SS1, first, last);
    const QString folder = workspace_.ChosenFolder;
    const bool split = workspace_.settings.itemIsOn(SettingItem::SplitByHyphen);
    const OutputGuard guard = workspace_.outputGuard();
    JobRunner runner(this);
    runner.useStopButton(cmdCancel_);
    runner.onStep([this](const ProgressStep& step) { ProgressBar1_->setValue(int(step.done)); });
    running_ = true;
    summary_ = runner.run(
        [&](const Progress& progress) { return PhotoCopy::copyRows(rows, folder, split, guard, progress); });
    running_ = false;
    QApplication::restoreOverrideCursor();
    accept();
}

void DialogSamN2::reject() {
    if (!running_) return QDialog::reject();
    // The runner listens to the stop button, which it disables once pressed.
    cmdCancel_->click();
}

namespace PhotoCopyCommand {

void CopyAllPhotos(Workspace& workspace, Prompts& prompts, QWidget* parent,
                   const std::function<void(const QString&)>& setActivity) {
    if (!SheetGuard::SheetHasData(workspace, prompts)) return;
    const QString folder = prompts.chooseFolder(PhotoCopy::FolderTitle, workspace.ChosenFolder);
    if (folder.isEmpty()) return;
    const QFileInfo chosen(folder);
    if (!chosen.isDir() || !chosen.isWritable()) {
        prompts.tell(PhotoCopy::CommandFailed, u"確認"_s, Prompts::Icon::Critical);
        return;
    }
    workspace.ChosenFolder = QDir::toNativeSeparators(QDir::cleanPath(chosen.absoluteFilePath()));
    if (!workspace.ChosenFolder.endsWith(QDir::separator())) workspace.ChosenFolder += QDir::separator();
    setActivity(PhotoCopy::ActivityText);

    workspace.FirstNewRow = 1;
    workspace.LastNewRow = workspace.AlbumRowCount;
    DialogSamN2 dialog(workspace, parent);
    dialog.exec();
    const PhotoCopy::Summary& summary = dialog.summary();
    const QFontMetrics metrics(QApplication::font("QMessageBox"));
    const int width = ResultWidth * metrics.horizontalAdvance(u'測');
    prompts.tell(summary.text([&](const QString& line) { return metrics.horizontalAdvance(line) <= width; }),
                 u"確認"_s, summary.complete() ? Prompts::Icon::Information : Prompts::Icon::Exclamation);
}

} // namespace PhotoCopyCommand
