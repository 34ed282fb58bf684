#include "base/app_error.h"
#include "base/file_io.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(FileIoTest, AReplaceableFileReplacesTheOldOneAndLeavesNothingElse) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"項目.png"_s);
    writeReplaceableFile(path, "first", u"保存できません。"_s);
    writeReplaceableFile(path, "second, longer", u"保存できません。"_s);
    EXPECT_EQ(readBytes(path), "second, longer");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"項目.png"_s})
        << "no temporary file left";

    const QString nowhere = dir.filePath(u"absent/entry.png"_s);
    try {
        writeReplaceableFile(nowhere, "x", u"保存できません。"_s);
        FAIL() << "a write into a missing folder reports its failure";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().startsWith(u"保存できません。\n"_s));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{u"項目.png"_s});
}

// The reason a write failed is the real one: a name too long for the file system is not a full
// disk, a file in the way of a folder is not a missing folder.
TEST(FileIoTest, WriteFailureReasonsNameTheRealCause) {
    QTemporaryDir dir;
    const QString longName = QString(100, u'写') + u".pdf"_s; // 304 bytes in UTF-8
    EXPECT_EQ(writeFailureReason(dir.filePath(longName)), u"ファイル名が長すぎます。"_s);
    EXPECT_EQ(writeFailureReason(dir.filePath(longName + u"/x"_s)), u"ファイル名が長すぎます。"_s);
    EXPECT_EQ(readFailureReason(dir.filePath(longName)), u"ファイル名が長すぎます。"_s);
    try {
        writeFileAtomically(dir.filePath(longName), "x", u"保存できません。"_s);
        FAIL() << "a name the file system cannot hold is refused";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().endsWith(u"ファイル名が長すぎます。"_s)) << error.message().toStdString();
    }

    writeBytes(dir.filePath(u"plain"_s), "a file");
    EXPECT_EQ(writeFailureReason(dir.filePath(u"plain/sub/out.pdf"_s)),
              u"保存先のパスの途中にフォルダではないものがあります。"_s);
    EXPECT_EQ(writeFailureReason(dir.filePath(u"missing/sub/out.pdf"_s)),
              u"保存先のフォルダが見つかりません。"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"taken"_s));
    EXPECT_EQ(writeFailureReason(dir.filePath(u"taken"_s)), u"同じ名前のフォルダがあります。"_s);
}
