#include "app/instance_lock.h"

#include <QDir>

using namespace Qt::StringLiterals;

InstanceLock::InstanceLock(const QString& programFolder)
    : lock_(QDir(programFolder).filePath(u"tovenla2.lock"_s)) {
    lock_.setStaleLockTime(0); // only a lock whose process is gone is stale
}

bool InstanceLock::acquire() {
    return lock_.tryLock(0);
}
