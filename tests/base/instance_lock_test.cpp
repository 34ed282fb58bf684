#include "base/instance_lock.h"

#include "base/program_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(InstanceLock, ASecondCopyOnTheSameFolderIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    {
        InstanceLock first(dir.path());
        ASSERT_EQ(first.acquire(), InstanceLock::Result::Acquired);
        InstanceLock second(dir.path());
        EXPECT_EQ(second.acquire(), InstanceLock::Result::HeldByAnotherRun);
    }
    InstanceLock later(dir.path());
    EXPECT_EQ(later.acquire(), InstanceLock::Result::Acquired);
}

// A program folder on a stick or share keeps the lock file of a run whose computer died: no
// live run holds it, so it never keeps the program from starting.
TEST(InstanceLock, ALockFileNoLiveRunHoldsIsTakenOver) {
    QTemporaryDir dir;
    const QString lockFile = dir.filePath(u"tovenla2.lock"_s);
    for (const QByteArray& left :
         {QByteArray(),
          LockHolder{u"事務所PC"_s, u"sato"_s, u"tovenla2"_s, 4242, QDateTime::currentDateTime()}.record()}) {
        QFile file(lockFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(left);
        file.close();
        InstanceLock lock(dir.path());
        EXPECT_EQ(lock.acquire(), InstanceLock::Result::Acquired);
        InstanceLock second(dir.path());
        EXPECT_EQ(second.acquire(), InstanceLock::Result::HeldByAnotherRun);
        EXPECT_FALSE(second.holderLines().isEmpty()) << "the live run is named";
    }
}

// A folder the program cannot use is not a second run: start-up must say what is wrong.
TEST(InstanceLock, UnusableProgramFoldersAreReportedAsSuch) {
    QTemporaryDir dir;
    const QString readOnly = dir.filePath(u"ro"_s);
    ASSERT_TRUE(QDir().mkdir(readOnly));
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    const bool root = QFileInfo(readOnly).isWritable(); // root writes anywhere
    if (!root) {
        InstanceLock lock(readOnly);
        EXPECT_EQ(lock.acquire(), InstanceLock::Result::Failed);
    }
    InstanceLock missing(dir.filePath(u"not-there"_s));
    EXPECT_EQ(missing.acquire(), InstanceLock::Result::Failed);

    qputenv("TOVENLA_HOME", readOnly.toLocal8Bit());
    ProgramFolder folder = resolveProgramFolder({});
    EXPECT_EQ(folder.problem.isEmpty(), root);

    const QString file = dir.filePath(u"plain-file"_s);
    QFile(file).open(QIODevice::WriteOnly);
    qputenv("TOVENLA_HOME", (file + u"/home"_s).toLocal8Bit()); // can never be created
    folder = resolveProgramFolder({});
    EXPECT_FALSE(folder.problem.isEmpty());
    EXPECT_TRUE(programFolderFailure(folder.path, folder.problem).contains(u"home"_s));

    qputenv("TOVENLA_HOME", dir.filePath(u"new/sub"_s).toLocal8Bit());
    folder = resolveProgramFolder({});
    EXPECT_TRUE(folder.problem.isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath(u"new/sub"_s)).isDir());
    qunsetenv("TOVENLA_HOME");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
