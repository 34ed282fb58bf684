#include "base/instance_lock.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

InstanceLock::InstanceLock(const QString& programFolder)
    : path_(QDir(programFolder).filePath(u"tovenla2.lock"_s)), lock_(path_, std::chrono::milliseconds(0)) {}

InstanceLock::Result InstanceLock::acquire() const {
    switch (lock_.state()) {
    case RunLock::State::Held:
        return Result::Acquired;
    case RunLock::State::Busy:
        return Result::HeldByAnotherRun;
    case RunLock::State::Unavailable:
        break;
    }
    // A lock file that could be made on a disk that keeps no locks is no reason to refuse.
    return QFileInfo(path_).isFile() ? Result::Acquired : Result::Failed;
}
