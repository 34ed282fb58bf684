#include "shell/session.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "workspace/bookmarks.h"
#include "workspace/workspace.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(FolderBookmarks, DuplicatesDifferingInCaseAreRefusedAndRemovalKeepsTheOrder) {
    FolderBookmarks bookmarks;
    EXPECT_TRUE(bookmarks.add(u"d:\\photos"_s));
    EXPECT_FALSE(bookmarks.add(u"D:\\Photos"_s));
    EXPECT_TRUE(bookmarks.add(u"/home/u/現場"_s));
    EXPECT_TRUE(bookmarks.add(u"/mnt/c"_s));
    bookmarks.remove(u"/HOME/u/現場"_s);
    EXPECT_EQ(bookmarks.paths(), (QStringList{u"d:\\photos"_s, u"/mnt/c"_s}));
}

TEST(FolderBookmarks, FileKeepsWholeLinesAndPassesOverRepeats) {
    const FolderBookmarks bookmarks =
        FolderBookmarks::fromFile(cp932(u"C:\\写真\\A,B\r\nD:\\x\r\nd:\\X\r\n/home/u\n\r\n"_s));
    EXPECT_EQ(bookmarks.paths(), (QStringList{u"C:\\写真\\A,B"_s, u"D:\\x"_s, u"/home/u"_s}));
    EXPECT_EQ(bookmarks.toFile(), cp932(u"C:\\写真\\A,B\r\nD:\\x\r\n/home/u\r\n"_s));

    FolderBookmarks odd;
    odd.add(u"/home/😀"_s);
    QStringList unwritable;
    odd.toFile(&unwritable);
    EXPECT_EQ(unwritable, QStringList{u"/home/😀"_s});
}

TEST(FolderBookmarks, UsableWhenAbsolute) {
    EXPECT_TRUE(FolderBookmarks::isUsable(u"/home/u"_s));
    EXPECT_FALSE(FolderBookmarks::isUsable(u"photos/2024"_s));
    EXPECT_FALSE(FolderBookmarks::isUsable(QString()));
}

TEST(FolderBookmarks, SessionLoadsAndSavesThemButNeverOverwritesAnUnreadableFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"add.dat"_s);
    ScriptedPrompts prompts;
    {
        writeBytes(file, cp932(u"C:\\写真\r\n"_s));
        Workspace workspace(dir.path());
        Session::startUp(workspace, prompts, {});
        EXPECT_EQ(workspace.Bookmarks.paths(), QStringList{u"C:\\写真"_s});
        workspace.Bookmarks.add(u"/srv/現場"_s);
        Session::shutDown(workspace, prompts, false);
        EXPECT_EQ(readBytes(file), cp932(u"C:\\写真\r\n/srv/現場\r\n"_s));
    }
    {
        const QByteArray broken("\x82\xa0\x81\r\n/ok\r\n", 8); // not CP932 throughout
        writeBytes(file, broken);
        Workspace workspace(dir.path());
        Session::startUp(workspace, prompts, {});
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_TRUE(prompts.lastMessage().text.contains(u"読み取れない文字"_s));
        EXPECT_TRUE(prompts.lastMessage().text.contains(u"add.dat"_s));
        workspace.Bookmarks.add(u"/new"_s);
        Session::shutDown(workspace, prompts, false);
        EXPECT_EQ(readBytes(file), broken);
    }
    EXPECT_EQ(prompts.messages.size(), 1);
}
