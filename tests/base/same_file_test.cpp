#include "base/same_file.h"
#include "support/test_files.h"
#include "support/test_media.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Names are compared as Windows and exFAT compare them: every letter folds, full-width and
// Greek ones too, and nothing else is made alike.
TEST(SameFile, NamesMatchWithoutRegardToLetterCaseOnly) {
    QTemporaryDir dir;
    const auto same = [&](const QString& a, const QString& b) {
        return isSameFile(dir.filePath(a), dir.filePath(b));
    };
    EXPECT_TRUE(same(u"Album.dat"_s, u"ALBUM.DAT"_s)) << "neither is there: names alone decide";
    EXPECT_TRUE(same(u"ＡＢＣＮｏ.1.jpg"_s, u"ａｂｃｎｏ.1.jpg"_s));
    EXPECT_TRUE(same(u"ΣΟΦΙΑ.jpg"_s, u"σοφια.jpg"_s));
    EXPECT_TRUE(same(u"Фото.jpg"_s, u"ФОТО.JPG"_s));
    EXPECT_TRUE(same(u"sub/../A.jpg"_s, u"./a.jpg"_s));
    EXPECT_FALSE(same(u"写真1.jpg"_s, u"写真１.jpg"_s)) << "a full-width digit is another name";
    EXPECT_FALSE(same(u"ア.jpg"_s, u"ｱ.jpg"_s)) << "half-width kana is another name";
    EXPECT_FALSE(same(u"a.jpg"_s, u"a.jpg "_s));
    EXPECT_FALSE(same(u"A/x.jpg"_s, u"B/x.jpg"_s));
    EXPECT_FALSE(isSameFile(QString(), QString()));

    // A folder reached through a link is the same folder, for a file not made yet too.
    QDir(dir.path()).mkdir(u"Real"_s);
    ASSERT_TRUE(QFile::link(dir.filePath(u"Real"_s), dir.filePath(u"link"_s)));
    EXPECT_TRUE(same(u"link/OUT.pdf"_s, u"Real/out.pdf"_s));
}

// Where the disk gives each spelling its own identity, the names still make them one file; where
// it gives two names one identity, the identity does.
TEST(SameFile, IdentityOrNameEitherMakesOneFile) {
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"Album.dat"_s), "album");
    writeBytes(dir.filePath(u"other.dat"_s), "other");
    ASSERT_TRUE(QFile::link(dir.filePath(u"Album.dat"_s), dir.filePath(u"shortcut.dat"_s)));
    {
        const SpellingIdentities exfat;
        const FileIdentity album = FileIdentity::of(dir.filePath(u"Album.dat"_s));
        const FileIdentity upper = FileIdentity::of(dir.filePath(u"ALBUM.DAT"_s));
        ASSERT_TRUE(upper.id) << "found whatever its letter case";
        EXPECT_NE(album.id, upper.id);
        EXPECT_TRUE(isSameFile(album, upper));
        EXPECT_FALSE(isSameFile(album, FileIdentity::of(dir.filePath(u"other.dat"_s))));

        SameFiles files;
        files.add(FileIdentity::of(dir.filePath(u"other.dat"_s)), 0);
        files.add(album, 1);
        files.add(FileIdentity::of(dir.filePath(u"album.DAT"_s)), 2);
        EXPECT_EQ(files.find(upper), (QList<qsizetype>{1, 2}));
        EXPECT_EQ(files.find(FileIdentity::of(dir.filePath(u"missing.dat"_s))), QList<qsizetype>{});
    }
    EXPECT_TRUE(isSameFile(dir.filePath(u"shortcut.dat"_s), dir.filePath(u"Album.dat"_s))) << "a link";
    SameFiles files;
    files.add(FileIdentity::of(dir.filePath(u"Album.dat"_s)), 7);
    EXPECT_EQ(files.find(FileIdentity::of(dir.filePath(u"shortcut.dat"_s))), QList<qsizetype>{7});
}
