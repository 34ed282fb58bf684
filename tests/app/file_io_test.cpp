#include "app/app_error.h"
#include "app/file_io.h"
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
