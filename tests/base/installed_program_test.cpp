#include "base/program_folder.h"
#include "base/shipped_files.h"

#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A prefix laid out as `cmake --install` leaves it, and a user's data folder of its own.
class InstalledProgram : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(bin()));
        ASSERT_TRUE(QDir().mkpath(share()));
        writeBytes(QDir(share()).filePath(u"PHOTO05.DTD"_s), "installed");
        savedHome_ = qgetenv("TOVENLA_HOME");
        savedData_ = qgetenv("XDG_DATA_HOME");
        qunsetenv("TOVENLA_HOME");
        qputenv("XDG_DATA_HOME", root_.filePath(u"data"_s).toLocal8Bit());
    }
    void TearDown() override {
        qputenv("TOVENLA_HOME", savedHome_);
        if (savedHome_.isEmpty()) qunsetenv("TOVENLA_HOME");
        qputenv("XDG_DATA_HOME", savedData_);
        if (savedData_.isEmpty()) qunsetenv("XDG_DATA_HOME");
    }
    QString bin() const { return root_.filePath(u"usr/bin"_s); }
    QString share() const { return root_.filePath(u"usr/share/tovenla2"_s); }
    QString userData() const { return root_.filePath(u"data/Tovenla2"_s); }

    QTemporaryDir root_;
    QByteArray savedHome_;
    QByteArray savedData_;
};

} // namespace

// The prefix may be writable (root, or a prefix in the home folder): the settings still go to
// the user's data folder, so each user keeps their own and a package upgrade never touches them.
TEST_F(InstalledProgram, KeepsItsFilesInTheUsersDataFolderNeverThePrefix) {
    ASSERT_TRUE(QFileInfo(bin()).isWritable());
    const ProgramFolder commands = resolveProgramFolder(bin(), ProgramFolder::Use::Commands);
    EXPECT_EQ(commands.path, userData());
    EXPECT_TRUE(commands.problem.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(userData())) << "the sub-commands only read the folder";

    const ProgramFolder window = resolveProgramFolder(bin());
    EXPECT_EQ(window.path, userData());
    EXPECT_TRUE(window.problem.isEmpty());
    EXPECT_TRUE(QFileInfo(userData()).isDir());

    qputenv("TOVENLA_HOME", root_.filePath(u"office"_s).toLocal8Bit());
    EXPECT_EQ(resolveProgramFolder(bin()).path, root_.filePath(u"office"_s));
}

TEST_F(InstalledProgram, ABuildFolderStaysPortable) {
    ASSERT_TRUE(QDir(root_.path()).removeRecursively());
    ASSERT_TRUE(QDir().mkpath(bin()));
    EXPECT_TRUE(ShippedFiles::installedFolder(bin()).isEmpty());
    EXPECT_EQ(resolveProgramFolder(bin()).path, bin());
    EXPECT_EQ(ShippedFiles::folders(bin()).value(0), QDir(bin()).filePath(u"templates"_s));
}

// Found through ../share/tovenla2 from the executable, wherever the prefix was moved; a file
// missing from the install is never quietly taken from a build or source tree instead.
TEST_F(InstalledProgram, FindsItsShippedFilesOnlyBesideAMovedPrefix) {
    const QString moved = root_.filePath(u"opt/tovenla"_s);
    ASSERT_TRUE(QDir().mkpath(root_.filePath(u"opt"_s)));
    ASSERT_TRUE(QDir().rename(root_.filePath(u"usr"_s), moved));
    const QString movedBin = QDir(moved).filePath(u"bin"_s);
    EXPECT_EQ(ShippedFiles::folders(movedBin), QStringList{QDir(moved).filePath(u"share/tovenla2"_s)});
    EXPECT_EQ(resolveProgramFolder(movedBin).path, userData());
}
