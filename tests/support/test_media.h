#pragma once

#include "base/same_file.h"

#include <QString>
#include <QTemporaryDir>

// Media unlike the disks of the machine the tests run on.

// File identities as FUSE exFAT gives them, on any disk: a name is found whatever its letter
// case, and each spelling of it is an identity of its own.
class SpellingIdentities {
public:
    SpellingIdentities();

private:
    FileIdOverride override_;
};

// A file system mounted for one test and unmounted after it, where the machine allows it
// (root, FUSE, loop devices); otherwise failure() says why, for GTEST_SKIP.
class TestMount {
public:
    enum class Kind {
        Exfat,   // a small exFAT stick through FUSE, as Debian's exfat-fuse mounts it
        Sizeless // a tmpfs without a size limit, which reports its size as 0
    };
    explicit TestMount(Kind kind);
    ~TestMount();
    TestMount(const TestMount&) = delete;
    TestMount& operator=(const TestMount&) = delete;

    const QString& path() const { return path_; }
    const QString& failure() const { return failure_; }

private:
    bool run(const QString& program, const QStringList& arguments, QString* output = nullptr);
    void mountExfat();

    QTemporaryDir work_;
    QString path_;
    QString loopDevice_;
    QString failure_;
    bool mounted_ = false;
};
