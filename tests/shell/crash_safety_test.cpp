#include "base/atomic_file.h"
#include "delivery/delivery_export.h"
#include "writers.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;

// Each writer is run over and over in a child process that is killed at a random moment;
// afterwards every file it writes must be the old or the new content, whole, with nothing
// half-made beside it.

namespace {

constexpr int KillsPerWriter = 8;

const char* const WriterVariable = "TOVENLA_CRASH_WRITER";
const char* const FolderVariable = "TOVENLA_CRASH_FOLDER";

// Each file of `now` equals the one of some version, and no file is missing or extra.
void expectOldOrNew(const std::string& writer, const std::map<QString, QByteArray>& now,
                    const std::array<std::map<QString, QByteArray>, 2>& versions, int kill) {
    ASSERT_EQ(now.size(), versions[0].size()) << writer << " after kill " << kill;
    for (const auto& [name, bytes] : now) {
        const bool known =
            versions[0].count(name) && (bytes == versions[0].at(name) || bytes == versions[1].at(name));
        EXPECT_TRUE(known) << writer << " after kill " << kill << ": " << name.toStdString()
                           << " is half written";
    }
}

} // namespace

// The child's side: writes the two versions in turn until it is killed.
TEST(CrashSafetyChild, WritesUntilKilled) {
    const std::string writer = qgetenv(WriterVariable).toStdString();
    if (writer.empty()) GTEST_SKIP() << "runs only as the child of CrashSafety";
    const QString work = qEnvironmentVariable(FolderVariable);
    const auto& write = Writers::all().at(writer);
    fputs("ready\n", stdout);
    fflush(stdout);
    for (int i = 1;; ++i)
        write(work, QDir(work).filePath(u"target"_s), i % 2);
}

TEST(CrashSafety, EveryWriterLeavesOldOrCompleteFilesWhenKilled) {
    for (const auto& [writer, write] : Writers::all()) {
        QTemporaryDir work;
        Writers::makeSources(work.path());
        // What each version looks like when written whole, from a run nobody kills.
        std::array<std::map<QString, QByteArray>, 2> versions;
        for (int version = 0; version < 2; ++version) {
            const QString reference = work.filePath(u"reference%1"_s.arg(version));
            QDir().mkpath(reference);
            write(work.path(), reference, version);
            versions[version] = Writers::contentsOf(reference);
        }
        const QString target = work.filePath(u"target"_s);
        QDir().mkpath(target);
        write(work.path(), target, 0);

        for (int kill = 1; kill <= KillsPerWriter; ++kill) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(WriterVariable), QString::fromStdString(writer));
            environment.insert(QString::fromLatin1(FolderVariable), work.path());
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(),
                        {u"--gtest_filter=CrashSafetyChild.*"_s, u"--gtest_also_run_disabled_tests"_s});
            ASSERT_TRUE(child.waitForReadyRead(30000)) << writer;
            QThread::msleep(QRandomGenerator::global()->bounded(1, 60));
            child.kill(); // SIGKILL: no handler, no clean-up
            ASSERT_TRUE(child.waitForFinished(30000));
            ASSERT_NE(child.exitStatus(), QProcess::NormalExit)
                << writer << " ended by itself:\n"
                << child.readAllStandardOutput().toStdString();

            // What the next run does first.
            if (writer == "delivery") DeliveryExport::recoverInterrupted(target);
            AtomicFile::removeLeftovers(target);
            expectOldOrNew(writer, Writers::contentsOf(target), versions, kill);
            // Nothing half-made is left beside the output, not even an empty folder.
            EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      QDir(work.filePath(u"reference0"_s))
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                << writer << " after kill " << kill;
        }
    }
}
