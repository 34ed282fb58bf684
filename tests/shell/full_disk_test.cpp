#include "base/app_error.h"
#include "writers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Each writer replaces its old output on a disk with no room for the new one. It must report
// the failure, keep the old files whole and leave nothing beside them. The disk is a small
// tmpfs in a mount namespace of the child's own where the machine allows one; elsewhere the
// child limits the size of the files it may write, which fails the same writes.

namespace {

const char* const WriterVariable = "TOVENLA_FULL_WRITER";
const char* const FolderVariable = "TOVENLA_FULL_FOLDER";
const char* const SlackVariable = "TOVENLA_FULL_SLACK";
const char* const LimitVariable = "TOVENLA_FULL_BY_LIMIT";

// Fills the disk of folder until only about slack bytes are free.
void fillDisk(const QString& folder, qint64 slack) {
    QFile filler(QDir(folder).filePath(u"filler"_s));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    filler.close();
    ASSERT_TRUE(filler.resize(qMax<qint64>(0, filler.size() - slack)));
}

} // namespace

// The child's side: the old output, a full disk, then the new output.
TEST(FullDiskChild, WritesOntoAFullDisk) {
    const std::string writer = qgetenv(WriterVariable).toStdString();
    if (writer.empty()) GTEST_SKIP() << "runs only as the child of FullDisk";
    const QString work = qEnvironmentVariable(FolderVariable);
    const qint64 slack = qEnvironmentVariable(SlackVariable).toLongLong();
    const QString target = QDir(work).filePath(u"target"_s);
    ASSERT_TRUE(QDir().mkpath(target));
    const Writers::Writer& write = Writers::all().at(writer);
    Writers::makeSources(work);
    const QString reference = QDir(work).filePath(u"reference"_s);
    ASSERT_TRUE(QDir().mkpath(reference));
    write(work, reference, 1);
    const std::map<QString, QByteArray> after = Writers::contentsOf(reference);
    QDir(reference).removeRecursively();
    write(work, target, 0);
    const std::map<QString, QByteArray> before = Writers::contentsOf(target);

    if (qEnvironmentVariableIsSet(LimitVariable)) {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the process
        const rlimit limit{rlim_t(slack), rlim_t(slack)};
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    } else {
        fillDisk(work, slack);
    }
    bool reported = false;
    try {
        reported = write(work, target, 1);
    } catch (const AppError& error) {
        reported = true;
        EXPECT_FALSE(error.message().contains(u".tovenla-"_s)) << "no temporary name is shown";
    }
    // Where the room sufficed the new output is whole; else the failure is said and the old
    // output is as it was, with nothing beside it.
    const std::map<QString, QByteArray> now = Writers::contentsOf(target);
    if (!reported) {
        EXPECT_EQ(now, after) << writer << ": done without a word, so the new output is whole";
    }
    EXPECT_EQ(now.size(), before.size()) << writer << ": nothing beside the old files";
    for (const auto& [name, bytes] : now)
        EXPECT_TRUE((before.count(name) && bytes == before.at(name)) ||
                    (after.count(name) && bytes == after.at(name)))
            << writer << ": " << name.toStdString() << " is half written";
    if (slack == 0) {
        EXPECT_TRUE(reported) << writer << ": no room at all is reported";
    }
}

TEST(FullDisk, EveryWriterKeepsTheOldFilesAndReportsTheFailure) {
    // Whether this machine lets a child mount a disk of its own.
    const bool mounts = QProcess::execute(u"unshare"_s, {u"--mount"_s, u"true"_s}) == 0;
    for (const auto& [writer, write] : Writers::all()) {
        // No room at all, and room for part of the new output.
        for (const qint64 slack : {qint64(0), qint64(6000)}) {
            QTemporaryDir work;
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(WriterVariable), QString::fromStdString(writer));
            environment.insert(QString::fromLatin1(FolderVariable), work.path());
            environment.insert(QString::fromLatin1(SlackVariable), QString::number(slack));
            if (!mounts) environment.insert(QString::fromLatin1(LimitVariable), u"1"_s);
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            const QStringList test{QCoreApplication::applicationFilePath(),
                                   u"--gtest_filter=FullDiskChild.*"_s};
            if (mounts)
                child.start(u"unshare"_s,
                            QStringList{u"--mount"_s, u"--propagation"_s, u"private"_s, u"sh"_s, u"-c"_s,
                                        u"mount -t tmpfs -o size=24m tovenla-full \"$0\" && "
                                        u"exec \"$@\""_s,
                                        work.path()} +
                                test);
            else
                child.start(test.first(), test.mid(1));
            ASSERT_TRUE(child.waitForFinished(120000)) << writer;
            EXPECT_EQ(child.exitCode(), 0) << writer << " with " << slack << " bytes free:\n"
                                           << child.readAll().toStdString();
        }
    }
}
