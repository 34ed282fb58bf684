#include "base/atomic_file.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

qsizetype openFiles() {
    return QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

} // namespace

// Larger than one chunk of the copy, so that it reports more than once.
TEST(AtomicFileCopy, TellsTheBytesUpToTheSizeAndAStopLeavesTheOldFileAndNothingOpen) {
    QTemporaryDir dir;
    const QString source = dir.filePath(u"source.jpg"_s);
    const QString target = dir.filePath(u"target.jpg"_s);
    const QByteArray bytes(17 * 1024 * 1024, 'x');
    writeBytes(source, bytes);
    writeBytes(target, "old");

    std::atomic_bool stop = false;
    QList<ProgressStep> told;
    const Progress progress(
        [&](const ProgressStep& step) {
            told << step;
            stop = true;
        },
        &stop);
    const qsizetype before = openFiles();
    {
        AtomicFile file(target, u"書けません。"_s);
        EXPECT_THROW(file.copyFrom(source, progress), Cancelled);
    }
    EXPECT_EQ(openFiles(), before) << "the source and the unwritten file are closed";
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
    ASSERT_EQ(told.size(), 1);
    EXPECT_EQ(told[0].total, bytes.size());

    stop = false;
    told.clear();
    AtomicFile file(target, u"書けません。"_s);
    file.copyFrom(source, Progress([&](const ProgressStep& step) { told << step; }, &stop));
    file.commit();
    EXPECT_EQ(readBytes(target), bytes);
    ASSERT_GE(told.size(), 2);
    EXPECT_LT(told.first().done, told.last().done);
    EXPECT_EQ(told.last().done, bytes.size());
    EXPECT_EQ(told.last().total, bytes.size());
}
