#include "base/ui/job_runner.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>
#include <memory>

using namespace Qt::StringLiterals;

// The progress window: closing it or Escape asks the work to stop instead of leaving it
// running behind a window that is gone.
class JobDialog : public QDialog {
public:
    JobDialog(QWidget* parent, std::function<void()> stop) : QDialog(parent), stop_(std::move(stop)) {}
    void reject() override { stop_(); }

private:
    std::function<void()> stop_;
};

JobRunner::JobRunner(QWidget* window) : window_(window) {}

JobRunner::~JobRunner() {
    delete dialog_.data();
}

void JobRunner::showWindow(Look look) {
    look_ = std::move(look);
}

void JobRunner::useStopButton(QAbstractButton* button) {
    stopButton_ = button;
}

void JobRunner::onStep(std::function<void(const ProgressStep&)> show) {
    show_ = std::move(show);
}

void JobRunner::setLabelText(const QString& text) {
    if (label_) label_->setText(text);
}

bool JobRunner::onWindowThread() const {
    return QThread::currentThread() == thread();
}

void JobRunner::runWork(const std::function<void(const Progress&)>& work) {
    stop_ = false;
    revealDue_ = false;
    shown_ = {};
    if (label_) label_->setText(look_->label);
    std::exception_ptr failure;
    const Progress progress([this](const ProgressStep& step) { post(step); }, &stop_);
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    loop_ = &loop;
    const auto done = qScopeGuard([this] { loop_ = nullptr; });
    bool over = false;
    connect(worker.get(), &QThread::finished, &loop, [&] {
        over = true;
        loop.quit();
    });
    QTimer revealTimer;
    revealTimer.setSingleShot(true);
    connect(&revealTimer, &QTimer::timeout, &loop, [&] {
        reveal();
        loop.quit();
    });
    QMetaObject::Connection stopClick;
    if (stopButton_) {
        stopButton_->setEnabled(true);
        stopButton_->show();
        stopClick = connect(stopButton_, &QAbstractButton::clicked, this, &JobRunner::requestStop);
    }
    if (look_ && look_->delayMs <= 0)
        reveal();
    else if (look_)
        revealTimer.start(look_->delayMs);
    worker->start();
    while (!over) {
        // Until something on screen offers the stop, input waits, so the album cannot change.
        const bool offered = stopButton_ || (dialog_ && dialog_->isVisible());
        loop.exec(offered ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    worker->wait();
    revealTimer.stop();
    deliver();
    if (dialog_) dialog_->hide();
    if (stopButton_) {
        disconnect(stopClick);
        stopButton_->hide();
    }
    if (failure) std::rethrow_exception(failure);
}

void JobRunner::reveal() {
    if (questions_ > 0) {
        revealDue_ = true;
        return;
    }
    if (!dialog_) {
        dialog_ = new JobDialog(window_, [this] { requestStop(); });
        dialog_->setObjectName(look_->objectName);
        dialog_->setWindowTitle(look_->windowTitle.isEmpty() ? window_->window()->windowTitle()
                                                             : look_->windowTitle);
        window_->window()->installEventFilter(this);
        dialog_->setWindowModality(Qt::WindowModal);
        auto* layout = new QVBoxLayout(dialog_);
        label_ = new QLabel(look_->label, dialog_);
        bar_ = new QProgressBar(dialog_);
        bar_->setRange(0, 0);
        layout->addWidget(label_);
        layout->addWidget(bar_);
        if (!look_->cancelText.isEmpty()) {
            auto* cancel = new QPushButton(look_->cancelText, dialog_);
            cancel->setObjectName(u"cmdCancel"_s);
            cancel->setAutoDefault(false);
            connect(cancel, &QPushButton::clicked, this, &JobRunner::requestStop);
            layout->addWidget(cancel, 0, Qt::AlignRight);
        }
        dialog_->setMinimumWidth(360);
    }
    if (auto* cancel = dialog_->findChild<QPushButton*>(u"cmdCancel"_s)) cancel->setEnabled(!stop_);
    paint();
    dialog_->show();
}

void JobRunner::askOnWindow(const std::function<void()>& ask) {
    if (onWindowThread()) return askAside(ask);
    if (stop_) throw Cancelled();
    bool asked = false;
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        this,
        [&] {
            if (stop_) return; // stopped while the question was on its way: it is not asked
            asked = true;
            try {
                askAside(ask);
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
    if (!asked) throw Cancelled();
}

// A window-modal progress window would block a question asked under it, and cover it: it is
// hidden while the question is open and comes back, where it was, when the work goes on.
void JobRunner::askAside(const std::function<void()>& ask) {
    const bool shown = dialog_ && dialog_->isVisible();
    if (shown) dialog_->hide();
    ++questions_;
    const auto back = qScopeGuard([&] {
        --questions_;
        if (questions_ > 0 || !loop_ || !(shown || revealDue_)) return;
        revealDue_ = false;
        reveal();
        loop_->quit(); // the run's loop takes input again now that the stop is offered
    });
    ask();
}

bool JobRunner::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move && dialog_) {
        const auto* move = static_cast<QMoveEvent*>(event);
        dialog_->move(dialog_->pos() + move->pos() - move->oldPos());
    }
    return QObject::eventFilter(watched, event);
}

void JobRunner::requestStop() {
    if (!stopButton_ && look_ && look_->cancelText.isEmpty()) return;
    stop_ = true;
    if (stopButton_) stopButton_->setEnabled(false);
    if (dialog_)
        if (auto* cancel = dialog_->findChild<QPushButton*>(u"cmdCancel"_s)) cancel->setEnabled(false);
}

// From the worker: keeps only the newest step, and wakes the window once for any number.
void JobRunner::post(const ProgressStep& step) {
    std::lock_guard lock(mutex_);
    const bool waking = !pending_;
    pending_ = step;
    if (waking) QMetaObject::invokeMethod(this, &JobRunner::deliver, Qt::QueuedConnection);
}

void JobRunner::deliver() {
    std::optional<ProgressStep> step;
    {
        std::lock_guard lock(mutex_);
        step.swap(pending_);
    }
    if (!step) return;
    shown_ = *step;
    paint();
    if (show_) show_(*step);
}

void JobRunner::paint() {
    if (!bar_) return;
    // Byte counts pass the range of a bar: it shows them in thousandths.
    const bool large = shown_.total > INT_MAX;
    bar_->setRange(0, large ? 1000 : int(shown_.total));
    bar_->setValue(large ? int(shown_.done * 1000 / shown_.total) : int(std::min(shown_.done, shown_.total)));
    if (!shown_.activity.isEmpty()) label_->setText(shown_.activity);
}
