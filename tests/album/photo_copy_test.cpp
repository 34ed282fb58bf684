#include "album/photo_copy.h"
#include "base/output_folder.h"
#include "base/output_guard.h"
#include "support/test_files.h"
#include "workspace/album_sheet.h"
#include "workspace/workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <tuple>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString info(const QString& line1, const QString& line2, const QString& line8 = {}) {
    return line1 + u"\r\n"_s + line2 + u"\r\n\r\n\r\n\r\n\r\n\r\n"_s + line8 + u"\r\n"_s;
}

} // namespace

class PhotoCopyTest : public testing::Test {
protected:
    // A row whose photo exists, with the given bytes.
    void row(int r, const QString& infoText, const QByteArray& bytes = "photo") {
        const QString photo = source.filePath(u"IMG_"_s + QString::number(r) + u".JPG"_s);
        writeBytes(photo, bytes);
        sheet.setText(r, AlbumColumn::Path, photo);
        sheet.setText(r, AlbumColumn::Info, infoText);
    }
    QString target(const QString& relative) const { return QDir(out.path()).filePath(relative); }
    PhotoCopy::Summary copy(bool split = false) { return copyInto(out.path() + u'/', split); }
    PhotoCopy::Summary copyInto(const QString& folder, bool split = false, int first = 1,
                                const Progress& progress = {}) {
        return PhotoCopy::copyRows(sheet, first, sheet.dataRowCount(), folder, split,
                                   photoGuard(sheet.rows()), progress);
    }
    // Goes on until the progress has been told `calls` times.
    Progress stopAtCall(int calls) {
        stop = false;
        auto told = std::make_shared<int>(0);
        return Progress([this, calls, told](const ProgressStep&) { stop = stop || ++*told >= calls; }, &stop);
    }
    QStringList outEntries() const {
        return QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir source;
    QTemporaryDir out;
    AlbumSheet sheet;
    std::atomic_bool stop = false;
};

TEST(PhotoCopyName, LinesTwoOneAndEightElseTheFileName) {
    EXPECT_EQ(PhotoCopy::ruleName(info(u"A"_s, u"B"_s, u"C"_s), u"C:\\p\\x.gif"_s), u"BAC.jpg"_s);
    EXPECT_EQ(PhotoCopy::ruleName(info({}, {}), u"C:\\p\\x.gif"_s), u"x.gif"_s);
    EXPECT_EQ(PhotoCopy::ruleName({}, u"/p/y.bmp"_s), u"y.bmp"_s);
}

TEST(PhotoCopyName, UnsafeNamesStayInsideTheFolder) {
    const auto check = [](const QString& built, bool split, const QString& folder, const QString& name) {
        const PhotoCopy::Target t = PhotoCopy::target(built, split);
        EXPECT_EQ(t.subFolder, folder) << built.toStdString();
        EXPECT_EQ(t.name, name) << built.toStdString();
        EXPECT_EQ(t.replaced, built != (folder.isEmpty() ? name : folder + u'-' + name.section(u'-', 1)))
            << built.toStdString();
        EXPECT_FALSE(t.shortened) << built.toStdString();
    };
    check(u"K12-003.jpg"_s, true, u"K12"_s, u"K12-003.jpg"_s);
    check(u"K12-003.jpg"_s, false, {}, u"K12-003.jpg"_s);
    check(u"-003.jpg"_s, true, {}, u"-003.jpg"_s);
    check(u"../../etc/passwd.jpg"_s, false, {}, u".._.._etc_passwd.jpg"_s);
    check(u"..-x.jpg"_s, true, u"__"_s, u"..-x.jpg"_s);
    check(u"a\\b:c*d?.jpg"_s, false, {}, u"a_b_c_d_.jpg"_s);
    check(u"2024/05/01-現場.jpg"_s, true, u"2024_05_01"_s, u"2024_05_01-現場.jpg"_s);
    check(u"CON.jpg"_s, false, {}, u"_CON.jpg"_s);
    check(u"name. "_s, false, {}, u"name__"_s);
}

TEST_F(PhotoCopyTest, CopiesUnderRuleNamesIntoHyphenSubFolders) {
    row(1, info(u"003"_s, u"K12-"_s));
    row(2, info(u"A"_s, u"B"_s, u"C"_s), "second");
    sheet.setText(3, AlbumColumn::Info, u"no photo\r\n"_s);
    row(4, QString());
    const PhotoCopy::Summary summary = copy(true);
    EXPECT_EQ(summary.copied, 3);
    EXPECT_EQ(summary.rowsWithoutPhoto, 1);
    EXPECT_TRUE(summary.complete());
    EXPECT_EQ(readBytes(target(u"K12/K12-003.jpg"_s)), "photo");
    EXPECT_EQ(readBytes(target(u"BAC.jpg"_s)), "second");
    EXPECT_TRUE(QFileInfo::exists(target(u"IMG_4.JPG"_s)));
    EXPECT_TRUE(QFileInfo::exists(source.filePath(u"IMG_1.JPG"_s))); // sources stay
}

TEST_F(PhotoCopyTest, FailuresAreSkippedAndNamedAndTheRunGoesOn) {
    sheet.setText(1, AlbumColumn::Path, u"C:\\gone\\P001.JPG"_s);
    row(2, info(u"../../escape"_s, u"x"_s));
    writeBytes(target(u"blocker"_s), "a file where a folder should go");
    row(3, info(u"1"_s, u"blocker-"_s));
    const PhotoCopy::Summary summary = copy(true);
    EXPECT_EQ(summary.copied, 1);
    ASSERT_EQ(summary.skipped.size(), 2);
    EXPECT_EQ(summary.skipped[0].row, 1);
    EXPECT_EQ(summary.skipped[1].row, 3);
    ASSERT_EQ(summary.adjusted.size(), 1);
    EXPECT_EQ(summary.adjusted[0].relativePath, u"x.._.._escape.jpg"_s);
    EXPECT_TRUE(QFileInfo::exists(target(u"x.._.._escape.jpg"_s)));
    EXPECT_FALSE(summary.complete());
    const QString text = summary.text();
    EXPECT_TRUE(text.contains(u"行 1"_s) && text.contains(u"C:\\gone\\P001.JPG"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"行 3"_s)) << text.toStdString();
    EXPECT_EQ(summary.skipped[1].reason, u"フォルダーを作れません："_s +
                                             QDir::toNativeSeparators(target(u"blocker"_s)) +
                                             u"（保存先のパスの途中にフォルダではないものがあります。）"_s);
}

TEST_F(PhotoCopyTest, ALaterRowOfTheSameNameReplacesTheCopyAndIsReported) {
    row(1, info(u"A"_s, u"B"_s), "first");
    row(2, info(u"A"_s, u"B"_s), "second");
    const PhotoCopy::Summary summary = copy();
    EXPECT_EQ(readBytes(target(u"BA.jpg"_s)), "second");
    EXPECT_EQ(summary.copied, 1);
    ASSERT_EQ(summary.replaced.size(), 1);
    EXPECT_EQ(summary.replaced[0].row, 2);
    EXPECT_EQ(summary.replaced[0].earlierRow, 1);
    EXPECT_FALSE(summary.complete());
    EXPECT_TRUE(summary.text().contains(u"BA.jpg"_s));
}

// Sticks and Windows disks hold one file for names that differ only in letter case, full-width
// letters included: the later row replaces the earlier copy on every disk alike, and says so.
TEST_F(PhotoCopyTest, NamesThatDifferOnlyInLetterCaseAreOneCopy) {
    row(1, info(u"No.1"_s, u"ABC"_s), "first");
    row(2, info(u"No.1"_s, u"abc"_s), "second");
    row(3, info(u"1"_s, u"ＸＹ"_s), "third");
    row(4, info(u"1"_s, u"ｘｙ"_s), "fourth");
    row(5, info(u"1"_s, u"ＸＹ１"_s), "fifth"); // a full-width digit is another name
    const PhotoCopy::Summary summary = copy();
    EXPECT_EQ(summary.copied, 3);
    ASSERT_EQ(summary.replaced.size(), 2);
    EXPECT_EQ(summary.replaced[0].row, 2);
    EXPECT_EQ(summary.replaced[0].earlierRow, 1);
    EXPECT_EQ(summary.replaced[1].row, 4);
    EXPECT_FALSE(summary.complete());
    EXPECT_TRUE(summary.text().contains(u"行 2（行 1 と同じ ABCNo.1.jpg）"_s))
        << summary.text().toStdString();
    EXPECT_EQ(outEntries(), (QStringList{u"ABCNo.1.jpg"_s, u"ＸＹ1.jpg"_s, u"ＸＹ１1.jpg"_s}));
    EXPECT_EQ(readBytes(target(u"ABCNo.1.jpg"_s)), "second");
    EXPECT_EQ(readBytes(target(u"ＸＹ1.jpg"_s)), "fourth");
}

// A new name that is a photo's name in another letter case is that photo on a stick: the photo
// is copied away by its own row first, and a photo no row of the run reads is never replaced.
TEST_F(PhotoCopyTest, APhotoNamedInAnotherLetterCaseIsReadBeforeItsNameIsTaken) {
    writeBytes(source.filePath(u"x.jpg"_s), "x's picture");
    writeBytes(source.filePath(u"a2.jpg"_s), "a2's picture");
    sheet.setText(1, AlbumColumn::Path, source.filePath(u"x.jpg"_s));
    sheet.setText(1, AlbumColumn::Info, info(QString(), u"A2"_s));
    sheet.setText(2, AlbumColumn::Path, source.filePath(u"a2.jpg"_s));
    sheet.setText(2, AlbumColumn::Info, info(QString(), u"Z"_s));
    PhotoCopy::Summary summary = copyInto(source.path());
    EXPECT_EQ(summary.copied, 2) << summary.text().toStdString();
    EXPECT_TRUE(summary.complete()) << summary.text().toStdString();
    EXPECT_EQ(readBytes(source.filePath(u"Z.jpg"_s)), "a2's picture");

    summary =
        PhotoCopy::copyRows(PhotoCopy::rowsOf(sheet, 1, 1), source.path(), false, photoGuard(sheet.rows()));
    ASSERT_EQ(summary.skipped.size(), 1) << summary.text().toStdString();
    EXPECT_TRUE(summary.skipped[0].reason.contains(u"アルバムの写真"_s)) << summary.text().toStdString();
    EXPECT_EQ(readBytes(source.filePath(u"a2.jpg"_s)), "a2's picture");
}

TEST_F(PhotoCopyTest, APhotoIsNeverCopiedOntoItself) {
    row(1, QString(), "keep me");
    const PhotoCopy::Summary summary = copyInto(source.path());
    EXPECT_EQ(summary.copied, 0);
    ASSERT_EQ(summary.skipped.size(), 1);
    EXPECT_EQ(readBytes(source.filePath(u"IMG_1.JPG"_s)), "keep me");
}

TEST_F(PhotoCopyTest, HostileInformationLinesNeverWriteOutsideTheChosenFolder) {
    const QStringList hostile = {
        u"../../outside"_s, u"..\\..\\outside"_s, u"/tmp/abs"_s, u"C:\\x"_s,         u"CON"_s, u"com1"_s,
        u"x. "_s,           u"a\tb\u0001"_s,      u".."_s,       QString(300, u'測')};
    const QDir folder(QDir(out.path()).filePath(u"chosen"_s));
    ASSERT_TRUE(QDir().mkpath(folder.path()));
    for (int i = 0; i < hostile.size(); ++i)
        row(i + 1, info(QString(), hostile.at(i) + u"-"_s + QString::number(i)));
    const PhotoCopy::Summary summary = copyInto(folder.path() + u'/', true);
    EXPECT_EQ(summary.copied, hostile.size()) << summary.text().toStdString();
    EXPECT_TRUE(summary.skipped.isEmpty()) << summary.text().toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"chosen"_s});
    // Every copy is one sub-folder deep at most and inside the chosen folder.
    int files = 0;
    for (const QFileInfo& entry :
         folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            files += int(QDir(entry.filePath()).entryList(QDir::Files | QDir::Hidden).size());
        else
            ++files;
    }
    EXPECT_EQ(files, hostile.size());
}

TEST_F(PhotoCopyTest, SwappedAndChainedNamesGiveEveryRowItsOwnPicture) {
    // Copied into their own folder, each row takes the name of the next row's photo: A.jpg's
    // picture becomes B.jpg, B.jpg's becomes C.jpg and C.jpg's becomes A.jpg.
    const QStringList names{u"A"_s, u"B"_s, u"C"_s};
    for (int r = 1; r <= 3; ++r) {
        const QString photo = source.filePath(names.at(r - 1) + u".jpg"_s);
        writeBytes(photo, names.at(r - 1).toLatin1());
        sheet.setText(r, AlbumColumn::Path, photo);
        sheet.setText(r, AlbumColumn::Info, info(QString(), names.at(r % 3)));
    }
    PhotoCopy::Summary summary = copyInto(source.path());
    EXPECT_EQ(summary.copied, 3) << summary.text().toStdString();
    EXPECT_EQ(readBytes(source.filePath(u"B.jpg"_s)), "A");
    EXPECT_EQ(readBytes(source.filePath(u"C.jpg"_s)), "B");
    EXPECT_EQ(readBytes(source.filePath(u"A.jpg"_s)), "C");

    // A run over part of the album never replaces a photo that no row of the run reads.
    summary = copyInto(source.path(), false, 3);
    ASSERT_EQ(summary.skipped.size(), 1) << summary.text().toStdString();
    EXPECT_EQ(summary.skipped[0].row, 3);
    EXPECT_EQ(readBytes(source.filePath(u"A.jpg"_s)), "C") << "row 1's photo is kept";
    EXPECT_EQ(QDir(source.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no staged copy left";
}

TEST_F(PhotoCopyTest, TheProgressCountsEveryRowUpToAllRows) {
    // Row 1 has no photo, row 2's photo is missing, rows 3 and 4 swap names: each row counts,
    // the staged renames at the end too.
    sheet.setText(1, AlbumColumn::Info, info(u"1"_s, u"X"_s));
    sheet.setText(2, AlbumColumn::Path, source.filePath(u"gone.jpg"_s));
    for (const auto& [r, name, next] : {std::tuple(3, u"A"_s, u"B"_s), std::tuple(4, u"B"_s, u"A"_s)}) {
        writeBytes(source.filePath(name + u".jpg"_s), name.toLatin1());
        sheet.setText(r, AlbumColumn::Path, source.filePath(name + u".jpg"_s));
        sheet.setText(r, AlbumColumn::Info, info(QString(), next));
    }
    QList<ProgressStep> told;
    const PhotoCopy::Summary summary =
        copyInto(source.path(), false, 1, Progress([&](const ProgressStep& step) { told << step; }, &stop));
    EXPECT_EQ(summary.copied, 2) << summary.text().toStdString();
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.last().done, 4);
    EXPECT_EQ(told.last().total, 4);
    for (qsizetype i = 1; i < told.size(); ++i)
        EXPECT_GE(told[i].done, told[i - 1].done) << "the bar never runs back";
}

TEST_F(PhotoCopyTest, ARelativeFolderIsTakenFromWhereTheCommandRuns) {
    row(1, info(u"1"_s, u"K-"_s));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(out.path());
    const PhotoCopy::Summary summary = copyInto(u"out/copies"_s, true);
    QDir::setCurrent(previous);
    EXPECT_EQ(summary.copied, 1) << summary.text().toStdString();
    EXPECT_TRUE(QFileInfo::exists(target(u"out/copies/K/K-1.jpg"_s)));
    EXPECT_FALSE(QFileInfo::exists(target(u"out/copies/out"_s)));
}

TEST_F(PhotoCopyTest, ALongNameIsListedAsShortenedAndWrappedForTheBox) {
    row(1, info(QString(300, u'測'), QString()));
    row(2, info(u"a:b"_s, QString()));
    const PhotoCopy::Summary summary = copy();
    EXPECT_EQ(summary.copied, 2);
    ASSERT_EQ(summary.shortened.size(), 1);
    EXPECT_EQ(summary.shortened[0].row, 1);
    ASSERT_EQ(summary.adjusted.size(), 1) << "only the replaced name";
    EXPECT_EQ(summary.adjusted[0].row, 2);
    const QString cut = QString(83, u'測') + u".jpg"_s;
    EXPECT_TRUE(QFileInfo::exists(target(cut)));

    const QString plain = summary.text();
    EXPECT_TRUE(plain.contains(u"名前が長すぎるため短くしてコピーした行：\n  行 1："_s + cut))
        << plain.toStdString();
    EXPECT_TRUE(plain.contains(u"置き換えてコピーした行：\n  行 2：a_b.jpg"_s)) << plain.toStdString();

    const auto columns = [](const QString& line) {
        int count = 0;
        for (QChar c : line)
            count += c.unicode() >= 0x1100 ? 2 : 1;
        return count;
    };
    const QStringList lines =
        summary.text([&](const QString& line) { return columns(line) <= 80; }).split(u'\n');
    QString joined;
    for (const QString& line : lines) {
        EXPECT_LE(columns(line), 80) << line.toStdString();
        joined += line.startsWith(u"    "_s) ? line.mid(4) : u'\n' + line;
    }
    EXPECT_EQ(joined.mid(1), plain) << "the wrapped lines read as the whole name";
}

TEST_F(PhotoCopyTest, AStopKeepsTheCopiesMadeAndLeavesNoPartOfAFile) {
    for (int r = 1; r <= 6; ++r)
        row(r, info(QString::number(r), u"P"_s), QByteArray(300'000, char('0' + r)));
    // Asked before row 1, during and after it, before row 2, during it, then no more.
    PhotoCopy::Summary summary = copyInto(out.path(), false, 1, stopAtCall(5));
    EXPECT_TRUE(summary.stopped());
    EXPECT_EQ(summary.copied, 1);
    EXPECT_EQ(summary.notCopied, (QList<int>{2, 3, 4, 5, 6}));
    EXPECT_FALSE(summary.complete());
    EXPECT_EQ(outEntries(), QStringList{u"P1.jpg"_s}) << "row 2 was stopped halfway and left nothing";
    EXPECT_EQ(readBytes(target(u"P1.jpg"_s)), QByteArray(300'000, '1'));
    const QString text = summary.text();
    EXPECT_TRUE(text.startsWith(u"中止しました。\nコピーした写真：1 枚\n"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"中止したためコピーしなかった行：5 行（2～6）"_s)) << text.toStdString();

    summary = copyInto(out.path());
    EXPECT_FALSE(summary.stopped());
    EXPECT_TRUE(summary.complete());
    EXPECT_EQ(outEntries().size(), 6);
}

TEST_F(PhotoCopyTest, AStopBeforeSwappedNamesArePlacedReplacesNothing) {
    const QStringList names{u"A"_s, u"B"_s, u"C"_s};
    for (int r = 1; r <= 3; ++r) {
        const QString photo = source.filePath(names.at(r - 1) + u".jpg"_s);
        writeBytes(photo, names.at(r - 1).toLatin1());
        sheet.setText(r, AlbumColumn::Path, photo);
        sheet.setText(r, AlbumColumn::Info, info(QString(), names.at(r % 3)));
    }
    // Each row is asked before and during its copy: the third one is stopped.
    const PhotoCopy::Summary summary = copyInto(source.path(), false, 1, stopAtCall(5));
    EXPECT_TRUE(summary.stopped());
    EXPECT_EQ(summary.copied, 0);
    EXPECT_EQ(summary.notCopied, (QList<int>{1, 2, 3}));
    for (const QString& name : names)
        EXPECT_EQ(readBytes(source.filePath(name + u".jpg"_s)), name.toLatin1());
    EXPECT_EQ(QDir(source.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no staged copy left";
}

// A stick unmounted under the run leaves another, empty folder at its path; a removed folder
// leaves none. Either way the run stops there and makes nothing at that path.
TEST_F(PhotoCopyTest, AChosenFolderReplacedOrRemovedMidRunStopsTheRunAndIsNeverMadeAgain) {
    for (int r = 1; r <= 4; ++r)
        row(r, info(QString::number(r), u"K-"_s), QByteArray(1000, char('0' + r)));
    const QString moved = source.filePath(u"unmounted"_s);
    const auto afterTwoCopies = [&](const std::function<void()>& change) {
        auto changed = std::make_shared<bool>(false);
        return Progress(
            [change, changed](const ProgressStep& step) {
                if (step.done == 2 && !*changed) {
                    *changed = true;
                    change();
                }
            },
            nullptr);
    };

    PhotoCopy::Summary summary = copyInto(out.path(), true, 1, afterTwoCopies([&] {
                                              ASSERT_TRUE(QDir().rename(out.path(), moved));
                                              ASSERT_TRUE(QDir().mkdir(out.path()));
                                          }));
    EXPECT_EQ(summary.copied, 2);
    EXPECT_EQ(summary.notCopied, (QList<int>{3, 4}));
    EXPECT_FALSE(summary.stopped()) << "the user did not stop it";
    EXPECT_FALSE(summary.complete());
    EXPECT_TRUE(outEntries().isEmpty()) << outEntries().join(u' ').toStdString();
    EXPECT_EQ(QDir(moved + u"/K"_s).entryList(QDir::Files), (QStringList{u"K-1.jpg"_s, u"K-2.jpg"_s}));
    const QString text = summary.text();
    EXPECT_TRUE(text.startsWith(OutputFolder::Gone + u'\n' + QDir::toNativeSeparators(out.path()) +
                                u"\n同じ場所に別のフォルダがあります。"_s))
        << text.toStdString();
    EXPECT_TRUE(text.contains(u"中断したためコピーしなかった行：2 行（3～4）"_s)) << text.toStdString();

    ASSERT_TRUE(QDir(moved).removeRecursively());
    summary = copyInto(out.path(), true, 1, afterTwoCopies([&] { QDir(out.path()).removeRecursively(); }));
    EXPECT_EQ(summary.notCopied, (QList<int>{3, 4}));
    EXPECT_TRUE(summary.text().contains(u"フォルダが見つかりません。"_s)) << summary.text().toStdString();
    EXPECT_FALSE(QFileInfo::exists(out.path()));
}

// A card pulled mid-run: its photos are told as photos missing from the start are, row by row,
// and never as a failure of the folder the copies go to.
TEST_F(PhotoCopyTest, APhotoThatGoesWhileTheRunGoesIsToldAsOneMissingFromTheStart) {
    for (int r = 1; r <= 3; ++r)
        row(r, info(QString::number(r), u"P"_s));
    const QString third = source.filePath(u"IMG_3.JPG"_s);
    const PhotoCopy::Summary summary =
        copyInto(out.path(), false, 1, Progress([&](const ProgressStep&) { QFile::remove(third); }, nullptr));
    EXPECT_EQ(summary.copied, 2);
    ASSERT_EQ(summary.skipped.size(), 1);
    EXPECT_EQ(summary.skipped[0].row, 3);
    EXPECT_EQ(summary.skipped[0].reason, u"コピー元の写真がありません："_s + third);
}

namespace {

const char* const StickVariable = "TOVENLA_STICK_FOLDER";

} // namespace

// The child's side: copies onto a stick (a small disk of the test's own) that is unmounted
// lazily after the second copy, as `umount -l` does to a stick pulled from a running office PC.
TEST(PhotoCopyStickChild, CopiesOntoAStickUnmountedMidRun) {
    const QString stick = qEnvironmentVariable(StickVariable);
    if (stick.isEmpty()) GTEST_SKIP() << "runs only as the child of PhotoCopyStick";
    QTemporaryDir source;
    AlbumSheet sheet;
    for (int r = 1; r <= 4; ++r) {
        const QString photo = source.filePath(u"IMG_%1.JPG"_s.arg(r));
        writeBytes(photo, QByteArray(1000, char('0' + r)));
        sheet.setText(r, AlbumColumn::Path, photo);
        sheet.setText(r, AlbumColumn::Info, info(QString::number(r), u"K-"_s));
    }
    bool pulled = false;
    const Progress pulling(
        [&](const ProgressStep& step) {
            if (step.done != 2 || std::exchange(pulled, true)) return;
            ASSERT_EQ(QProcess::execute(u"umount"_s, {u"-l"_s, stick}), 0);
        },
        nullptr);
    const PhotoCopy::Summary summary = PhotoCopy::copyRows(sheet, 1, 4, stick, true, OutputGuard(), pulling);
    EXPECT_EQ(summary.copied, 2);
    EXPECT_EQ(summary.notCopied, (QList<int>{3, 4}));
    EXPECT_TRUE(summary.folderGone.startsWith(OutputFolder::Gone)) << summary.folderGone.toStdString();
    EXPECT_TRUE(QDir(stick).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty())
        << "nothing lands in the bare mount point, on the system disk";
}

TEST(PhotoCopyStick, AStickUnmountedMidRunStopsTheRunAndTheSystemDiskGetsNothing) {
    if (QProcess::execute(u"unshare"_s, {u"--mount"_s, u"true"_s}) != 0)
        GTEST_SKIP() << "this machine lets no test mount a disk of its own";
    QTemporaryDir stick;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(StickVariable), stick.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(u"unshare"_s,
                {u"--mount"_s, u"--propagation"_s, u"private"_s, u"sh"_s, u"-c"_s,
                 u"mount -t tmpfs -o size=8m tovenla-stick \"$0\" && exec \"$@\""_s, stick.path(),
                 QCoreApplication::applicationFilePath(), u"--gtest_filter=PhotoCopyStickChild.*"_s});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString told = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << told.toStdString();
    EXPECT_TRUE(told.contains(u"[  PASSED  ] 1 test"_s)) << told.toStdString();
}
