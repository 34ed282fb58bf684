#pragma once

#include "base/progress.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <type_traits>

class QAbstractButton;
class QEventLoop;
class QLabel;
class QProgressBar;
class QWidget;
class JobDialog;

// Runs long work on a worker thread while the window stays painted and movable, shows its
// progress, offers the stop, and hands the result back on the window's thread. The work gets
// its own copies of what it reads and never touches a widget or the album sheet; the caller
// applies the result after run() returns.
//
// While the work runs the window takes no input: a window-modal progress window shows after
// a short delay (input waits until then), or the window's own stop button is the only control
// left enabled by the caller. The progress window follows its window when that is moved, and
// steps aside while the work asks a question.
class JobRunner : public QObject {
    Q_OBJECT
public:
    struct Look {
        QString objectName;
        QString windowTitle; // empty: the window's own title
        QString label;
        QString cancelText; // empty: the work cannot be stopped
        int delayMs = 300;  // a run shorter than this shows no window
    };

    explicit JobRunner(QWidget* window);
    ~JobRunner() override;

    void showWindow(Look look);
    // Instead of a window: the caller's stop button, shown and enabled for the run.
    void useStopButton(QAbstractButton* button);
    // Called on the window's thread with the newest step when the work reports faster than
    // the window paints, after the progress window has shown it.
    void onStep(std::function<void(const ProgressStep& step)> show);
    void setLabelText(const QString& text);

    // Runs work(progress) on a worker thread and returns what it returns once it is over.
    // Whatever the work throws (Cancelled, AppError) is thrown here, on the window's thread.
    template <class Work> auto run(Work work) {
        using Result = std::invoke_result_t<Work&, const Progress&>;
        if constexpr (std::is_void_v<Result>) {
            runWork(work);
        } else {
            std::optional<Result> result;
            runWork([&](const Progress& progress) { result.emplace(work(progress)); });
            return std::move(*result);
        }
    }

    // From the work: asks on the window's thread (a question in mid-run) and waits for the
    // answer. The progress window is hidden while the question is open, so that nothing covers
    // or blocks it. A stop asked for before the question came throws Cancelled instead.
    template <class Ask> auto onWindow(Ask ask) {
        using Answer = std::invoke_result_t<Ask&>;
        if constexpr (std::is_void_v<Answer>) {
            askOnWindow(ask);
        } else {
            Answer answer{};
            askOnWindow([&] { answer = ask(); });
            return answer;
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void askOnWindow(const std::function<void()>& ask);
    void askAside(const std::function<void()>& ask);
    void runWork(const std::function<void(const Progress&)>& work);
    void post(const ProgressStep& step);
    void deliver();
    void requestStop();
    void reveal();
    void paint();
    bool onWindowThread() const;

    QWidget* window_;
    std::optional<Look> look_;
    QPointer<JobDialog> dialog_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPointer<QAbstractButton> stopButton_;
    std::function<void(const ProgressStep&)> show_;
    std::atomic_bool stop_ = false;
    std::mutex mutex_;
    std::optional<ProgressStep> pending_; // guarded by mutex_
    ProgressStep shown_;
    QEventLoop* loop_ = nullptr; // while a run waits for its work
    int questions_ = 0;          // open on the window's thread
    bool revealDue_ = false;     // the progress window's time came while a question was open
};
