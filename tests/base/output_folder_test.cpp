#include "base/atomic_file.h"
#include "base/file_io.h"
#include "base/output_folder.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// What a stick unmounted under a run leaves: another, empty folder at the same path.
void replaceFolder(const QString& folder) {
    ASSERT_TRUE(QDir().rename(folder, folder + u".unmounted"_s));
    ASSERT_TRUE(QDir().mkdir(folder));
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(OutputFolder, IsTheFolderTheRunBeganWithOrSaysWhyNot) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"stick"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    const OutputFolder chosen(folder);
    EXPECT_NO_THROW(chosen.check());

    replaceFolder(folder);
    EXPECT_TRUE(chosen.change().startsWith(u"同じ場所に別のフォルダがあります。"_s))
        << chosen.change().toStdString();
    try {
        chosen.check();
        FAIL() << "another folder at the path is not the run's";
    } catch (const OutputFolderGone& gone) {
        EXPECT_EQ(gone.message(), fileFailure(OutputFolder::Gone, folder, chosen.change()));
    }
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_TRUE(chosen.change().startsWith(u"フォルダが見つかりません。"_s)) << chosen.change().toStdString();

    // A folder that was not there to begin with is the writes' to report, as it always was.
    EXPECT_NO_THROW(OutputFolder(dir.filePath(u"never"_s)).check());
    writeBytes(dir.filePath(u"plain"_s), "a file");
    EXPECT_NO_THROW(OutputFolder(dir.filePath(u"plain"_s)).check());
}

// A file begun in the run's folder never lands in a folder put in its place, nor is one begun there.
TEST(OutputFolder, AFileOfTheRunTakesItsPlaceOnlyInTheFolderTheRunBeganWith) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"stick"_s);
    ASSERT_TRUE(QDir().mkdir(folder));
    const OutputFolder chosen(folder);
    {
        AtomicFile file(QDir(folder).filePath(u"out.pdf"_s), u"PDFを保存できません。"_s, chosen);
        file.write("pages");
        replaceFolder(folder);
        EXPECT_THROW(file.commit(), OutputFolderGone);
    }
    EXPECT_THROW(AtomicFile(QDir(folder).filePath(u"out.pdf"_s), u"PDFを保存できません。"_s, chosen),
                 OutputFolderGone);
    EXPECT_THROW(
        writeFileAtomically(QDir(folder).filePath(u"out.pdf"_s), "pages", u"保存できません。"_s, &chosen),
        OutputFolderGone);
    EXPECT_TRUE(entries(folder).isEmpty()) << entries(folder).join(u' ').toStdString();
    EXPECT_TRUE(entries(folder + u".unmounted"_s).isEmpty());
}
