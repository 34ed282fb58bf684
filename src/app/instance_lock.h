#pragma once

#include <QLockFile>
#include <QString>

// Keeps a second copy of the program from working on the same program folder. A lock left by
// a crashed run is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& programFolder);
    bool acquire();

private:
    QLockFile lock_;
};
