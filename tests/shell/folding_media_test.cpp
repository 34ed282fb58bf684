#include "album/album_file.h"
#include "base/output_guard.h"
#include "support/batch_run.h"
#include "support/test_files.h"
#include "support/test_media.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

// Sticks, SD cards and Windows disks fold letter case: a name written in another case is the
// same file there, whatever identity the disk gives it.

namespace {

QString info(const QString& line1, const QString& line2) {
    return line1 + u"\r\n"_s + line2 + u"\r\n"_s;
}

// Every file of folder with its bytes, names as the disk lists them.
std::map<QString, QByteArray> filesOf(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files[name] = readBytes(QDir(folder).filePath(name));
    return files;
}

class FoldingMediaTest : public testing::Test {
protected:
    // An album of one photo and a CSV list naming another, in folder.
    void makeJob(const QString& folder) {
        album = QDir(folder).filePath(u"Album.dat"_s);
        list = QDir(folder).filePath(u"list.csv"_s);
        writeBytes(QDir(folder).filePath(u"DSC00001.JPG"_s), "the album's photo");
        writeBytes(QDir(folder).filePath(u"P1.jpg"_s), "the list's photo");
        AlbumFile::save(album, {{{}, info(u"1"_s, u"A"_s), {}, QDir(folder).filePath(u"DSC00001.JPG"_s)}});
        writeBytes(list, "h\r\nA,B,P1.jpg\r\n");
    }
    int run(const QStringList& arguments) { return runCommand(arguments, program.path(), out, err); }

    QTemporaryDir program;
    QString album;
    QString list;
    QString out;
    QString err;
};

} // namespace

// With identities as FUSE exFAT gives them, each spelling its own: the output guard still
// refuses every other spelling of what a run reads or keeps, and writes nothing.
TEST_F(FoldingMediaTest, AnOutputInAnotherLetterCaseIsTheKeptFile) {
    QTemporaryDir dir;
    makeJob(dir.path());
    const SpellingIdentities exfat;
    const std::map<QString, QByteArray> before = filesOf(dir.path());
    const QList<std::pair<QStringList, QString>> cases = {
        {{u"pdf"_s, album, dir.filePath(u"ALBUM.DAT"_s)}, OutputGuard::Album},
        {{u"field-report"_s, album, dir.filePath(u"album.dat"_s)}, OutputGuard::Album},
        {{u"excel"_s, album, dir.filePath(u"dsc00001.jpg"_s)}, OutputGuard::Photo},
        {{u"import-csv"_s, list, dir.filePath(u"p1.JPG"_s)}, OutputGuard::Photo},
        {{u"import-csv"_s, list, dir.filePath(u"LIST.CSV"_s)}, OutputGuard::List},
    };
    for (const auto& [arguments, kind] : cases) {
        const std::string shown = arguments.join(u' ').toStdString();
        EXPECT_EQ(run(arguments), 1) << shown;
        EXPECT_TRUE(err.contains(u"出力先が"_s + kind + u"です。"_s)) << shown << "\n" << err.toStdString();
        EXPECT_EQ(filesOf(dir.path()), before) << shown;
    }
}

// The same on a real exFAT stick, where the faults showed: nothing is written over another
// spelling of a kept file, a copy never loses the photo whose name it takes, and two copies
// whose names differ only in case are reported as one.
TEST_F(FoldingMediaTest, OnAnExfatStickNoFileIsLostToAnotherLetterCase) {
    const TestMount stick(TestMount::Kind::Exfat);
    if (!stick.failure().isEmpty()) GTEST_SKIP() << stick.failure().toStdString();
    const QDir folder(stick.path());
    makeJob(folder.path());
    const std::map<QString, QByteArray> before = filesOf(folder.path());
    EXPECT_EQ(run({u"pdf"_s, album, folder.filePath(u"ALBUM.DAT"_s)}), 1) << err.toStdString();
    EXPECT_EQ(run({u"import-csv"_s, list, folder.filePath(u"p1.jpg"_s)}), 1) << err.toStdString();
    EXPECT_EQ(filesOf(folder.path()), before);

    // Copied into the photos' own folder: row 1's new name is row 2's photo in capitals.
    QByteArray x(64 * 1024, 'x');
    QByteArray a2(64 * 1024, 'a');
    a2.replace(a2.size() - 4096, 4096, QByteArray(4096, 'z')); // a damaged end shows
    writeBytes(folder.filePath(u"x.jpg"_s), x);
    writeBytes(folder.filePath(u"a2.jpg"_s), a2);
    writeBytes(folder.filePath(u"p3.jpg"_s), "row 3");
    writeBytes(folder.filePath(u"p4.jpg"_s), "row 4");
    AlbumFile::save(album, {{{}, info({}, u"A2"_s), {}, folder.filePath(u"x.jpg"_s)},
                            {{}, info({}, u"Z"_s), {}, folder.filePath(u"a2.jpg"_s)},
                            {{}, info(u"No.1"_s, u"ABC"_s), {}, folder.filePath(u"p3.jpg"_s)},
                            {{}, info(u"No.1"_s, u"abc"_s), {}, folder.filePath(u"p4.jpg"_s)}});
    EXPECT_EQ(run({u"copy-photos"_s, album, folder.path()}), 3) << err.toStdString();
    EXPECT_TRUE(out.endsWith(u": 3 枚コピーしました\n"_s)) << out.toStdString();
    EXPECT_TRUE(err.contains(u"行 4（行 3 と同じ ABCNo.1.jpg）"_s)) << err.toStdString();
    EXPECT_EQ(readBytes(folder.filePath(u"Z.jpg"_s)), a2);
    EXPECT_EQ(readBytes(folder.filePath(u"A2.jpg"_s)), x);
    EXPECT_EQ(readBytes(folder.filePath(u"abcno.1.JPG"_s)), "row 4");
    EXPECT_EQ(QDir(folder.path()).entryList({u"*no.1.jpg"_s}, QDir::Files).size(), 1);
}
