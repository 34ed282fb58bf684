#pragma once

#include "base/run_lock.h"

#include <QString>
#include <QStringList>

// Keeps a second copy of the program from working on the same program folder. A lock no live
// run holds, left by a crashed run or a computer that died with the folder on its stick or
// share, is taken over.
class InstanceLock {
public:
    enum class Result { Acquired, HeldByAnotherRun, Failed };

    explicit InstanceLock(const QString& programFolder);
    // Failed: the lock file could not be made at all (a read-only folder, ...), which is no
    // sign of another run. Where the disk keeps no locks the run goes on.
    Result acquire() const;
    // When held by another run: the lines naming its computer and program.
    QStringList holderLines() const { return lock_.holder().lines(); }

private:
    QString path_;
    RunLock lock_;
};
