#include "album/ui/photo_placement_ui.h"

#include "album/ui/photo_browser_panel.h"
#include "base/prompts.h"
#include "base/ui/job_runner.h"
#include "workspace/workspace.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

namespace {

// Disables every control of a window but one for the length of a scope.
class OnlyOneControlEnabled {
public:
    OnlyOneControlEnabled(QWidget* window, QWidget* keep) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool input = qobject_cast<QAbstractButton*>(control) ||
                               qobject_cast<QAbstractItemView*>(control) ||
                               qobject_cast<QComboBox*>(control) || qobject_cast<QMenuBar*>(control);
            if (input && control != keep && control->isEnabled()) {
                control->setEnabled(false);
                disabled_ << control;
            }
        }
    }
    ~OnlyOneControlEnabled() {
        for (const QPointer<QWidget>& control : std::as_const(disabled_))
            if (control) control->setEnabled(true);
    }
    OnlyOneControlEnabled(const OnlyOneControlEnabled&) = delete;
    OnlyOneControlEnabled& operator=(const OnlyOneControlEnabled&) = delete;

private:
    QList<QPointer<QWidget>> disabled_;
};

bool holdsFiles(const QMimeData* data) {
    return data && data->hasUrls() && !PhotoPlacement::localPaths(data->urls()).isEmpty();
}

} // namespace

namespace PhotoPlacementUi {

PhotoPlacement::Result placeFromBrowser(Workspace& workspace, Prompts& prompts, PhotoBrowserPanel& browser,
                                        QTableView& sheet, QPushButton& stopButton) {
    const QStringList names = browser.selectedFileNames();
    if (names.isEmpty()) return {};
    const QModelIndex cursor = sheet.currentIndex();
    const int startRow = cursor.isValid() ? cursor.row() + 1 : 1;

    // The photos are read on a worker with copies of what it needs; the album changes here.
    const QStringList paths = PhotoPlacement::selectedPaths(browser.folder(), names);
    const PhotoPlacement::PlanOptions options = PhotoPlacement::planOptions(workspace);
    PhotoPlacement::Plan plan;
    {
        OnlyOneControlEnabled freeze(stopButton.window(), &stopButton);
        BusyScope busy(prompts);
        JobRunner runner(stopButton.window());
        runner.useStopButton(&stopButton);
        plan = runner.run([&](const Progress& progress) {
            return PhotoPlacement::plan(paths, startRow, options, progress);
        });
    }
    return PhotoPlacement::placeSelected(workspace, prompts, plan, startRow);
}

} // namespace PhotoPlacementUi

SheetDropTarget::SheetDropTarget(QTableView& sheet, Workspace& workspace, Prompts& prompts)
    : QObject(&sheet), sheet_(sheet), workspace_(workspace), prompts_(prompts) {
    sheet.setAcceptDrops(true);
    sheet.viewport()->setAcceptDrops(true);
    sheet.viewport()->installEventFilter(this);
}

bool SheetDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!holdsFiles(drag->mimeData())) return false;
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!holdsFiles(drop->mimeData())) return false;
        const int row = sheet_.rowAt(drop->position().toPoint().y());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (row < 0) return true;
        const PhotoPlacement::Result result =
            PhotoPlacement::dropFiles(workspace_, prompts_, drop->mimeData()->urls(), row + 1);
        if (result.thumbnailsDue) Q_EMIT thumbnailsDue();
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
