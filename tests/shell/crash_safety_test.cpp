#include "base/app_error.h"
#include "base/atomic_file.h"
#include "delivery/delivery_export.h"
#include "survey/classified_file.h"
#include "survey/classified_table.h"
#include "test_paths.h"
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
const char* const PairVariable = "TOVENLA_CRASH_PAIR";
const QString PairName = u"区画1.spd"_s;

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

// The child's side of the step by step kill: saves the second version of the import file pair
// over the first once, unless it is killed on the way.
TEST(CrashSafetyChild, SavesTheImportFilePairOnce) {
    const QString target = qEnvironmentVariable(PairVariable);
    if (target.isEmpty()) GTEST_SKIP() << "runs only as the child of CrashSafety";
    Writers::all().at("import file")({}, target, 1);
}

namespace {

// Everything a loaded pair holds, to tell the versions apart and catch a mix of both.
QString pairContent(const QString& spd) {
    const ClassifiedData data = ClassifiedFile::load(spd);
    QStringList parts{data.folder};
    for (const ImportGroup& group : data.groups)
        parts << QString::number(group.first) << QString::number(group.last);
    for (const GroupRow& row : data.rows)
        parts << row.key << row.sheetName << row.count << row.flag;
    for (int j = 1; j <= data.lineCount(); ++j)
        for (int c = 0; c < ImportTable::Columns; ++c)
            parts << data.table.column(j, c).toString();
    return parts.join(u'|');
}

} // namespace

// The import file and its companion are two files: a save killed before any of its steps that
// touch the disk (each sync, link, rename and removal) leaves the old pair or the new pair to
// load, never a mix of the two nor a pair that does not load.
TEST(CrashSafety, TheImportFilePairLoadsOldOrNewWhenKilledAtEachStep) {
    QTemporaryDir work;
    const auto& write = Writers::all().at("import file");
    std::array<QString, 2> versions;
    for (int version = 0; version < 2; ++version) {
        const QString reference = work.filePath(u"reference%1"_s.arg(version));
        QDir().mkpath(reference);
        write({}, reference, version);
        versions[version] = pairContent(QDir(reference).filePath(PairName));
    }
    bool sawOld = false;
    bool sawNew = false;
    bool finished = false;
    for (int step = 1; step <= 100; ++step) {
        const QString target = work.filePath(u"target%1"_s.arg(step));
        QDir().mkpath(target);
        write({}, target, 0);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(PairVariable), target);
        environment.insert(u"TOVENLA_KILL_AT_STEP"_s, QString::number(step));
        environment.insert(u"LD_PRELOAD"_s, QStringLiteral(TOVENLA_KILL_AT_STEP_LIBRARY));
        // A sanitized build preloads its runtime itself; the killer goes after it.
        environment.insert(u"ASAN_OPTIONS"_s,
                           environment.value(u"ASAN_OPTIONS"_s) + u":verify_asan_link_order=0"_s);
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--gtest_filter=CrashSafetyChild.SavesTheImportFilePairOnce"_s});
        ASSERT_TRUE(child.waitForFinished(30000));
        const bool killed = child.exitStatus() == QProcess::CrashExit;
        ASSERT_TRUE(killed || child.exitCode() == 0) << child.readAllStandardOutput().toStdString();

        AtomicFile::removeLeftovers(target); // what the next run does first
        QString loaded;
        try {
            loaded = pairContent(QDir(target).filePath(PairName));
        } catch (const AppError& error) {
            ADD_FAILURE() << "killed at step " << step << ": " << error.message().toStdString();
        }
        EXPECT_TRUE(loaded == versions[0] || loaded == versions[1]) << "killed at step " << step;
        sawOld = sawOld || loaded == versions[0];
        sawNew = sawNew || (killed && loaded == versions[1]);
        if (!killed) {
            EXPECT_EQ(loaded, versions[1]) << "a save not killed";
            finished = true;
            break;
        }
    }
    EXPECT_TRUE(finished) << "a save has more steps than the test tries";
    EXPECT_TRUE(sawOld && sawNew) << "the kills came both before and after the save took effect";
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
