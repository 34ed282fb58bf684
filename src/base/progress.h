#pragma once

#include <QString>

#include <atomic>
#include <exception>
#include <functional>

// Thrown by long work at a safe point once the user asked it to stop. What the work completed
// before that point stays done; the caller says so.
class Cancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }

    // What a window tells when a stopped job wrote nothing.
    static const QString NothingWritten; // "中止しました。ファイルは作成していません。"
};

// Where long work is: the activity, how far it has come through it and, for work over album
// rows, the row at hand (0 for none).
struct ProgressStep {
    QString activity;
    qint64 done = 0;
    qint64 total = 0;
    int row = 0;
};

// How long work tells where it is and learns that it is to stop. A default Progress reports
// nowhere and never stops (the command line, tests). Work may report from any thread; the
// receiver hands the step on to its own.
class Progress {
public:
    using Report = std::function<void(const ProgressStep& step)>;
    using Map = std::function<ProgressStep(const ProgressStep& step)>;

    Progress() = default;
    // stop, when given, must outlive the work.
    Progress(Report report, const std::atomic_bool* stop);

    // Tells the step, then stops the work as checkpoint() does.
    void report(const ProgressStep& step) const;
    // Tells the step and never stops: for the end of work that, once begun, must finish.
    void tell(const ProgressStep& step) const;
    // A safe point: throws Cancelled once a stop was asked.
    void checkpoint() const;
    bool stopRequested() const;

    // A Progress for part of the work: its steps pass through map before they are told here,
    // and it stops with this one.
    Progress mapped(Map map) const;

private:
    Report report_;
    const std::atomic_bool* stop_ = nullptr;
};
