#include "base/progress.h"

using namespace Qt::StringLiterals;

const QString Cancelled::NothingWritten = u"中止しました。ファイルは作成していません。"_s;

Progress::Progress(Report report, const std::atomic_bool* stop) : report_(std::move(report)), stop_(stop) {}

void Progress::report(const ProgressStep& step) const {
    tell(step);
    checkpoint();
}

void Progress::tell(const ProgressStep& step) const {
    if (report_) report_(step);
}

void Progress::checkpoint() const {
    if (stopRequested()) throw Cancelled();
}

bool Progress::stopRequested() const {
    return stop_ && stop_->load(std::memory_order_relaxed);
}

Progress Progress::mapped(Map map) const {
    Report report;
    if (report_)
        report = [outer = report_, map = std::move(map)](const ProgressStep& step) { outer(map(step)); };
    return Progress(std::move(report), stop_);
}
