#include "album/ui/photo_copy_dialog.h"

#include "app/prompts.h"
#include "app/sheet_guard.h"
#include "app/workspace.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
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
    layout->addWidget(Label1_);
    layout->addWidget(ProgressBar1_);
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
    summary_ = PhotoCopy::copyRows(workspace_.SS1, first, last, workspace_.ChosenFolder,
                                   workspace_.settings.itemIsOn(SettingItem::SplitByHyphen),
                                   workspace_.outputGuard(), [this](int done) {
                                       ProgressBar1_->setValue(done);
                                       QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                                   });
    QApplication::restoreOverrideCursor();
    accept();
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
    prompts.tell(summary.text(), u"確認"_s,
                 summary.complete() ? Prompts::Icon::Information : Prompts::Icon::Exclamation);
}

} // namespace PhotoCopyCommand
