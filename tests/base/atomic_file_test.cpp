#include "base/atomic_file.h"
#include "base/system_error.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

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

// A copy that fails on the source's side is the source's fault: a pulled card is not a full
// stick, and the message must send the user to the right one.
TEST(AtomicFileCopy, ASourceThatCannotBeReadIsToldAsTheSourceAndLeavesNoFile) {
    QTemporaryDir dir;
    const QString target = dir.filePath(u"target.jpg"_s);
    writeBytes(target, "old");
    const auto sourceFailure = [&](const QString& source, const Progress& progress) -> QString {
        try {
            AtomicFile file(target, u"コピー先に書けません。"_s);
            file.copyFrom(source, progress);
            file.commit();
        } catch (const CopySourceError& error) {
            EXPECT_EQ(error.path(), source);
            EXPECT_TRUE(error.message().startsWith(u"コピー元を読めません。\n"_s))
                << error.message().toStdString();
            return error.reason();
        }
        ADD_FAILURE() << "no failure of the source";
        return {};
    };

    // Opened, but its reads fail: a folder where the photo was.
    const QString folder = dir.filePath(u"P001.JPG"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    EXPECT_EQ(sourceFailure(folder, {}), u"ファイルではなくフォルダです。"_s);

    // Cut short while it is read: half a photo is no copy of it.
    const QString source = dir.filePath(u"big.jpg"_s);
    writeBytes(source, QByteArray(17 * 1024 * 1024, 'x'));
    const Progress cutting([&](const ProgressStep&) { QFile::resize(source, 9 * 1024 * 1024); }, nullptr);
    EXPECT_EQ(sourceFailure(source, cutting), u"ファイルを最後まで読み取れませんでした。"_s);

    EXPECT_EQ(sourceFailure(dir.filePath(u"gone.jpg"_s), {}), u"ファイルが見つかりません。"_s);
    EXPECT_EQ(readBytes(target), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file left";
}

// Every error a disk or a share can give reads as a reason; none as a bare number.
TEST(SystemErrorReason, DisksAndSharesThatGoAwayGetReasonsAndOthersTheirNumber) {
    for (const int error : {ENOTCONN, ENODEV, ENXIO, ESTALE, ENOMEDIUM, ETIMEDOUT, EHOSTDOWN, ECONNRESET, EIO,
                            ENOSPC, EROFS, EACCES, EEXIST, EXDEV, EINVAL, EUCLEAN}) {
        const QString reason = systemErrorReason(error);
        EXPECT_FALSE(reason.contains(QString::number(error))) << error << " " << reason.toStdString();
        EXPECT_TRUE(reason.endsWith(u'。')) << reason.toStdString();
    }
    EXPECT_TRUE(systemErrorReason(ENOTCONN).contains(u"接続が切れました"_s));
    EXPECT_EQ(systemErrorReason(9999), u"システムのエラーで失敗しました（エラー番号 9999）。"_s);
}
