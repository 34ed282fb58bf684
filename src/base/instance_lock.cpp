#include "base/instance_lock.h"

#include <QDir>

using namespace Qt::StringLiterals;

InstanceLock::InstanceLock(const QString& programFolder)
    : lock_(QDir(programFolder).filePath(u"tovenla2.lock"_s)) {
    lock_.setStaleLockTime(0); // only a lock whose process is gone is stale
}

InstanceLock::Result InstanceLock::acquire() {
    if (lock_.tryLock(0)) return Result::Acquired;
    return lock_.error() == QLockFile::LockFailedError ? Result::HeldByAnotherRun : Result::Failed;
}
