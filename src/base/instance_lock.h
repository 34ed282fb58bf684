#pragma once

#include <QLockFile>
#include <QString>

// Keeps a second copy of the program from working on the same program folder. A lock left by
// a crashed run is taken over.
class InstanceLock {
public:
    enum class Result { Acquired, HeldByAnotherRun, Failed };

    explicit InstanceLock(const QString& programFolder);
    // Failed: the lock file could not be made at all (a read-only folder, ...), which is no
    // sign of another run.
    Result acquire();

private:
    QLockFile lock_;
};
