#include "base/album_lock.h"
#include "base/app_error.h"
#include "base/run_lock.h"
#include "support/test_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const char* const HeldLockVariable = "TOVENLA_LOCK_TO_HOLD";

// Another run that holds lockFile until it is killed.
std::unique_ptr<QProcess> holdInAnotherProcess(const QString& lockFile) {
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(HeldLockVariable), lockFile);
    child->setProcessEnvironment(environment);
    child->start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=RunLockChild.*"_s});
    QByteArray said;
    while (!said.contains("ready\n") && child->waitForReadyRead(30000))
        said += child->readAllStandardOutput();
    EXPECT_TRUE(said.contains("ready\n")) << said.toStdString();
    return child;
}

std::optional<QString> inUseMessage(const QString& album) {
    try {
        const AlbumLock lock(album, 100ms);
    } catch (const AppError& error) {
        return error.message();
    }
    return std::nullopt;
}

} // namespace

// The child's side of the tests below: holds a lock until it is killed.
TEST(RunLockChild, HoldsUntilKilled) {
    const QString lockFile = qEnvironmentVariable(HeldLockVariable);
    if (lockFile.isEmpty()) GTEST_SKIP() << "runs only as the child of a lock test";
    const RunLock lock(lockFile, 0ms);
    ASSERT_EQ(lock.state(), RunLock::State::Held);
    fputs("ready\n", stdout);
    fflush(stdout);
    for (;;)
        QThread::sleep(1);
}

class RunLockTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString album = dir.filePath(u"album.dat"_s);
    QString lockFile = dir.filePath(u".album.dat.lock"_s);
};

TEST_F(RunLockTest, LockFilesThatNoLiveRunHoldsNeverKeepAnyoneOut) {
    // A run killed right after making the file, or a stick pulled out.
    writeBytes(lockFile, {});
    EXPECT_EQ(inUseMessage(album), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(lockFile)) << "a lock leaves nothing behind";

    // A run on another computer that died.
    const LockHolder elsewhere{u"GENBA-PC2"_s, u"suzuki"_s, u"Tovenla2"_s, 4242,
                               QDateTime::currentDateTime()};
    writeBytes(lockFile, elsewhere.record());
    EXPECT_EQ(inUseMessage(album), std::nullopt);

    // A run here whose process was killed: its record stays, its lock went with it.
    std::unique_ptr<QProcess> killed = holdInAnotherProcess(lockFile);
    const qint64 killedProcess = killed->processId();
    EXPECT_NE(inUseMessage(album), std::nullopt) << "held while it lives";
    killed->kill();
    killed->waitForFinished();
    ASSERT_TRUE(QFileInfo::exists(lockFile));
    EXPECT_EQ(LockHolder::fromRecord(readBytes(lockFile)).process, killedProcess);
    EXPECT_EQ(inUseMessage(album), std::nullopt);

    // No lock can be made (no such folder): the run goes on, and its write says why it fails.
    EXPECT_EQ(RunLock(dir.filePath(u"gone/.album.dat.lock"_s), 0ms).state(), RunLock::State::Unavailable);
    EXPECT_EQ(inUseMessage(dir.filePath(u"gone/album.dat"_s)), std::nullopt);
}

TEST_F(RunLockTest, ALiveHolderKeepsOthersOutAndIsNamed) {
    std::unique_ptr<QProcess> holder = holdInAnotherProcess(lockFile);
    const std::optional<QString> message = inUseMessage(album);
    ASSERT_NE(message, std::nullopt);
    const QStringList lines = message->split(u"\r\n"_s);
    ASSERT_EQ(lines.size(), 4) << message->toStdString();
    EXPECT_EQ(lines[0], AlbumLock::InUse);
    EXPECT_EQ(lines[1], QDir::toNativeSeparators(album));
    EXPECT_TRUE(lines[2].startsWith(u"使用中のコンピューター："_s + QSysInfo::machineHostName()))
        << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith(u"使用中のプログラム："_s + QCoreApplication::applicationName() +
                                    u"（プロセス "_s + QString::number(holder->processId()) + u'、'))
        << lines[3].toStdString();
    holder->kill();
    holder->waitForFinished();

    // Within one process too, and through another spelling of the album.
    ASSERT_TRUE(QFile::link(album, dir.filePath(u"link.dat"_s)));
    writeBytes(album, "album");
    const AlbumLock first(album);
    const std::optional<QString> second = inUseMessage(dir.filePath(u"link.dat"_s));
    ASSERT_NE(second, std::nullopt);
    EXPECT_TRUE(second->contains(u"（プロセス "_s + QString::number(QCoreApplication::applicationPid())));
}

TEST_F(RunLockTest, AWaitingRunTakesTheLockWhenItsHolderEnds) {
    auto first = std::make_unique<RunLock>(lockFile, 0ms);
    ASSERT_EQ(first->state(), RunLock::State::Held);
    std::thread ends([&] {
        QThread::msleep(200);
        first.reset(); // removes the file it held
    });
    const RunLock second(lockFile, 5s);
    ends.join();
    EXPECT_EQ(second.state(), RunLock::State::Held);
    EXPECT_EQ(RunLock(lockFile, 0ms).state(), RunLock::State::Busy);
    EXPECT_EQ(LockHolder::fromRecord(readBytes(lockFile)).process, QCoreApplication::applicationPid());
}

// Runs that take and let go of one lock as fast as they can: never two hold it at once, even
// when one locks the file another has just removed on letting go.
TEST_F(RunLockTest, NeverTwoHoldersAtOnce) {
    std::atomic_int inside = 0;
    std::atomic_int overlaps = 0;
    std::atomic_int taken = 0;
    const auto run = [&] {
        for (int round = 0; round < 400; ++round) {
            FileLock lock(lockFile);
            while (lock.tryLock() != FileLock::Result::Locked)
                std::this_thread::yield();
            if (++inside > 1) ++overlaps;
            ++taken;
            std::this_thread::sleep_for(100us);
            --inside;
        }
    };
    std::vector<std::thread> runs;
    for (int i = 0; i < 4; ++i)
        runs.emplace_back(run);
    for (std::thread& thread : runs)
        thread.join();
    EXPECT_EQ(taken, 1600);
    EXPECT_EQ(overlaps, 0);
    EXPECT_FALSE(QFileInfo::exists(lockFile));
}

TEST(LockHolder, RecordsNameTheHolderAndGarbageNamesNoOne) {
    const LockHolder holder{u"測量-PC"_s, u"田中"_s, u"Tovenla2"_s, 1234,
                            QDateTime(QDate(2025, 5, 1), QTime(10, 3))};
    const LockHolder read = LockHolder::fromRecord(holder.record());
    EXPECT_EQ(read.lines(),
              QStringList({u"使用中のコンピューター：測量-PC（ユーザー 田中）"_s,
                           u"使用中のプログラム：Tovenla2（プロセス 1234、2025/05/01 10:03 から）"_s}));
    EXPECT_EQ(LockHolder::fromRecord({}).lines(), QStringList());
    EXPECT_EQ(LockHolder::fromRecord("\x89PNG\r\n\x1a\n\0\0garbage").lines(), QStringList());
}
