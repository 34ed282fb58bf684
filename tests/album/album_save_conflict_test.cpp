#include "album/album_commands.h"
#include "album/album_file.h"
#include "base/app_error.h"
#include "base/output_choice.h"
#include "support/batch_run.h"
#include "support/photo_files.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Answer = Prompts::Answer;

// The window has an album open while another run changes its file.
class AlbumSaveConflictTest : public testing::Test {
protected:
    void SetUp() override {
        QList<AlbumRow> rows(8);
        for (int r = 0; r < rows.size(); ++r)
            rows[r].info = u"row "_s + QString::number(r + 1) + u"\r\n"_s;
        AlbumFile::save(album, rows);
        ASSERT_TRUE(AlbumCommands::OpenAlbumFile(workspace, prompts, album));
    }
    // Two photos put on the album by the command line, as another run would.
    void placeTwoPhotos() {
        writeBytes(dir.filePath(u"K1_01.jpg"_s), "one");
        writeBytes(dir.filePath(u"K1_02.jpg"_s), "two");
        QString out;
        QString err;
        ASSERT_EQ(runCommand({u"place"_s, album, dir.filePath(u"K1_01.jpg"_s), dir.filePath(u"K1_02.jpg"_s)},
                             dir.path(), out, err),
                  0)
            << err.toStdString();
        ASSERT_EQ(rowsOnDisk(), 10);
    }
    qsizetype rowsOnDisk() const { return AlbumFile::load(album, 1000).size(); }
    QString changedQuestion(const QString& path) const {
        return QDir::toNativeSeparators(path) + u"\r\n"_s + AlbumCommands::ChangedQuestion;
    }

    QTemporaryDir dir;
    QString album = dir.filePath(u"album.dat"_s);
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(AlbumSaveConflictTest, SaveAsksBeforeUndoingRowsAnotherRunAdded) {
    placeTwoPhotos();
    workspace.editCell(1, AlbumColumn::Info, u"typed in the window\r\n"_s);

    // Yes to the usual question, then the default No: nothing written, the dialog again.
    prompts.savePaths = {album};
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(AlbumCommands::SaveAlbum(workspace, prompts));
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[0].message.text.endsWith(OutputChoice::ReplaceQuestion));
    const Prompts::Message& asked = prompts.messages[1].message;
    EXPECT_EQ(asked.text, changedQuestion(album));
    EXPECT_EQ(asked.text.section(u"\r\n"_s, 1),
              u"アルバムファイルは開いた後に他の処理で変更されています。上書きしますか？"_s);
    EXPECT_EQ(asked.defaultAnswer, Answer::No);
    EXPECT_EQ(asked.icon, Prompts::Icon::Exclamation);
    ASSERT_EQ(prompts.fileRequests.size(), 2);
    EXPECT_EQ(prompts.fileRequests[1].name, u"album.dat"_s) << "the dialog comes back for another name";
    EXPECT_EQ(rowsOnDisk(), 10);
    EXPECT_EQ(workspace.SheetModified, 1);

    // Yes writes the window's rows; after that only the usual question is asked.
    prompts.messages.clear();
    prompts.savePaths = {album};
    prompts.answers = {Answer::Yes, Answer::Yes};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(rowsOnDisk(), 8);
    EXPECT_EQ(AlbumFile::load(album, 1000)[0].info, u"typed in the window\r\n"_s);
    prompts.messages.clear();
    prompts.savePaths = {album};
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(prompts.messages.size(), 1);

    // No, then another name: both versions are kept, and the new file is the album's now.
    placeTwoPhotos();
    const QString copy = dir.filePath(u"album-window.dat"_s);
    prompts.savePaths = {album, copy};
    prompts.answers = {Answer::Yes, Answer::No};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(rowsOnDisk(), 10);
    EXPECT_EQ(AlbumFile::load(copy, 1000).size(), 8);
    EXPECT_EQ(workspace.AlbumFilePath, copy);
}

TEST_F(AlbumSaveConflictTest, OnlyAChangedContentCountsWhateverTheSpelling) {
    // Rewritten with the same bytes and a later time: nothing of another run would be lost.
    const QByteArray bytes = readBytes(album);
    QFile::remove(album);
    writeBytes(album, bytes);
    touchLater(album, 5);
    prompts.savePaths = {album};
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(prompts.messages.size(), 1);

    // Changed by another run, and chosen through a link: the same file.
    placeTwoPhotos();
    const QString link = dir.filePath(u"link.dat"_s);
    ASSERT_TRUE(QFile::link(album, link));
    prompts.messages.clear();
    prompts.savePaths = {link};
    prompts.answers = {Answer::Yes};
    EXPECT_FALSE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(prompts.lastMessage().text, changedQuestion(link));
    EXPECT_EQ(rowsOnDisk(), 10);

    // A new album has no file to compare with.
    AlbumCommands::NewAlbum(workspace, prompts);
    workspace.editCell(1, AlbumColumn::Info, u"new\r\n"_s);
    prompts.messages.clear();
    prompts.savePaths = {album};
    prompts.answers = {Answer::Yes};
    ASSERT_TRUE(AlbumCommands::SaveAlbum(workspace, prompts));
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(rowsOnDisk(), 1);
}

// The command line's own read and write: it holds the album's lock, yet where the lock does
// not reach another computer (a share without locks), it still never undoes another run.
TEST_F(AlbumSaveConflictTest, ACommandLineRunNeverWritesOverWhatChangedAfterItRead) {
    FileState read;
    QList<AlbumRow> rows = AlbumFile::load(album, 1000, &read);
    rows.append(rows.constFirst());
    placeTwoPhotos();
    try {
        AlbumFile::saveOver(album, rows, read);
        FAIL() << "the file changed after it was read";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(AlbumFile::ChangedElsewhere)) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(album)));
    }
    EXPECT_EQ(rowsOnDisk(), 10);

    read = AlbumFile::save(album, rows);
    EXPECT_TRUE(FileState::current(album).sameContent(read));
    rows.append(rows.constFirst());
    read = AlbumFile::saveOver(album, rows, read);
    EXPECT_EQ(rowsOnDisk(), 10);
    QFile::remove(album);
    AlbumFile::saveOver(album, rows, read);
    EXPECT_EQ(rowsOnDisk(), 10) << "a file removed meanwhile holds nothing to lose";
    EXPECT_THROW(AlbumFile::saveOver(album, rows, FileState()), AppError) << "made meanwhile by another run";
}
