#include "album/album_file.h"
#include "base/album_lock.h"
#include "base/app_error.h"
#include "base/output_choice.h"
#include "base/output_guard.h"
#include "support/batch_run.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "test_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A job's folder: an album of two photos, a CSV list, a SIMA file with its PM file and the
// program's settings file, each read by some command.
class OutputGuardTest : public testing::Test {
protected:
    void SetUp() override {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(photo, "JPG"));
        ASSERT_TRUE(picture.save(dir.filePath(u"ZT1.jpg"_s), "JPG"));
        QList<AlbumRow> rows(2);
        rows[0].info = u"12-3-45\r\nZT1\r\n"_s;
        rows[0].path = photo;
        rows[1].info = u"12-3-46\r\nZT2\r\n"_s;
        rows[1].path = dir.filePath(u"ZT1.jpg"_s);
        AlbumFile::save(album, rows);
        writeBytes(csv, cp932(u"h\r\nA,B,DSC00001.JPG\r\n"_s));
        writeBytes(sima, cp932(u"A01,1,ZT1,10.5,-3,1.25,\r\nA01,2,ZT2,1e3,2,,\r\nD00,1,1-2,1,\r\n"
                               u"B01,1,ZT1,\r\nB01,2,ZT2,\r\nD99,\r\n"_s));
        writeBytes(pm, "ZT1,3\r\n");
        writeBytes(settings, " 1000 \r\n");
        ASSERT_TRUE(QFile::link(album, dir.filePath(u"album-link.dat"_s)));
        ASSERT_EQ(::link(QFile::encodeName(photo).constData(),
                         QFile::encodeName(dir.filePath(u"hard.jpg"_s)).constData()),
                  0);
    }

    int run(const QStringList& arguments) {
        QString out;
        return runCommand(arguments, dir.path(), out, err);
    }

    std::map<QString, QByteArray> inputs() const {
        std::map<QString, QByteArray> bytes;
        for (const QString& path : {album, photo, csv, sima, pm, settings})
            bytes[path] = readBytes(path);
        return bytes;
    }

    QTemporaryDir dir;
    QString album = dir.filePath(u"現場.dat"_s);
    QString photo = dir.filePath(u"DSC00001.JPG"_s);
    QString csv = dir.filePath(u"list.csv"_s);
    QString sima = dir.filePath(u"site.sim"_s);
    QString pm = dir.filePath(u"pm.csv"_s);
    QString settings = dir.filePath(u"tovenla.ini"_s);
    QString err;
};

} // namespace

// Every command that writes what the user names refuses, naming both files, an output that
// is one of the run's inputs, the album's photos or the program's settings, however spelled.
TEST_F(OutputGuardTest, NoCommandWritesOverWhatItReadsOrKeeps) {
    const QString sameAlbum = dir.path() + u"/./現場.dat"_s;
    const QString link = dir.filePath(u"album-link.dat"_s);
    const QString hard = dir.filePath(u"hard.jpg"_s);
    const QList<std::pair<QStringList, QString>> cases = {
        {{u"excel"_s, album, album}, OutputGuard::Album},
        {{u"excel"_s, album, link}, OutputGuard::Album},
        {{u"excel"_s, album, photo}, OutputGuard::Photo},
        {{u"excel"_s, album, hard}, OutputGuard::Photo},
        {{u"pdf"_s, album, sameAlbum}, OutputGuard::Album},
        {{u"pdf"_s, album, hard}, OutputGuard::Photo},
        {{u"label-pdf"_s, settings}, OutputGuard::ProgramFile},
        {{u"field-report"_s, album, album}, OutputGuard::Album},
        {{u"field-report"_s, album, photo}, OutputGuard::Photo},
        {{u"point-record"_s, album, sima, u"--sima"_s, sima}, OutputGuard::Survey},
        {{u"point-record"_s, album, link}, OutputGuard::Album},
        {{u"import-parcels"_s, sima, pm, u"--pm"_s, pm}, OutputGuard::PmFile},
        {{u"import-parcels"_s, sima, sima}, OutputGuard::Survey},
        {{u"parcel-album"_s, sima, sima, u"--parcels"_s, u"1"_s}, OutputGuard::Survey},
        {{u"parcel-report"_s, sima, u"--parcels"_s, u"1"_s, u"--out"_s, sima}, OutputGuard::Survey},
        {{u"parcel-report"_s, sima, u"--parcels"_s, u"1"_s, u"--folder"_s, dir.path(), u"--out"_s,
          dir.filePath(u"ZT1.jpg"_s)},
         OutputGuard::Photo},
        {{u"import-csv"_s, csv, dir.path() + u"/../"_s + QFileInfo(dir.path()).fileName() + u"/list.csv"_s},
         OutputGuard::List},
        {{u"import-csv"_s, csv, photo}, OutputGuard::Photo},
        {{u"import-csv"_s, csv, settings}, OutputGuard::ProgramFile},
        {{u"import-classified"_s, csv, csv, u"--groups"_s, u"all"_s}, OutputGuard::List},
    };
    const std::map<QString, QByteArray> before = inputs();
    for (const auto& [arguments, kind] : cases) {
        const std::string shown = arguments.join(u' ').toStdString();
        EXPECT_EQ(run(arguments), 1) << shown;
        EXPECT_TRUE(err.contains(u"出力先が"_s + kind + u"です。"_s)) << shown << "\n" << err.toStdString();
        EXPECT_TRUE(err.contains(u"出力先："_s) && err.contains(kind + u"："_s)) << shown;
        EXPECT_EQ(inputs(), before) << shown;
    }
    // A plain existing output is replaced, as command-line tools do.
    const QString book = dir.filePath(u"写真帳.xlsx"_s);
    writeBytes(book, "an old workbook");
    EXPECT_EQ(run({u"excel"_s, album, book}), 0) << err.toStdString();
    EXPECT_NE(readBytes(book), "an old workbook");
}

// Every photo a list names is an input of the run, those on lines beyond the album's capacity
// too.
TEST_F(OutputGuardTest, AListKeepsEveryPhotoItNames) {
    writeBytes(settings, " 1 \r\n");
    const QString beyond = dir.filePath(u"P2.jpg"_s);
    writeBytes(beyond, "the second photo");
    writeBytes(csv, cp932(u"h\r\nA,B,DSC00001.JPG\r\nC,D,P2.jpg\r\n"_s));
    EXPECT_EQ(run({u"import-csv"_s, csv, beyond}), 1);
    EXPECT_TRUE(err.contains(u"出力先がアルバムの写真です。"_s)) << err.toStdString();
    EXPECT_EQ(readBytes(beyond), "the second photo");
}

// The save dialogs of the windows: extension added, kept files refused with the dialog shown
// again, existing files replaced only when the user agrees.
TEST_F(OutputGuardTest, ASaveDialogRefusesKeptFilesAndAsksBeforeReplacing) {
    // Albums take any name, a workbook's too.
    const QString bookAlbum = dir.filePath(u"現場.xlsx"_s);
    writeBytes(bookAlbum, "album");
    OutputGuard guard;
    guard.keep(bookAlbum, OutputGuard::OpenAlbum).keep(photo, OutputGuard::Photo);
    ScriptedPrompts prompts;
    const QString existing = dir.filePath(u"old.xlsx"_s);
    writeBytes(existing, "old");
    prompts.savePaths = {bookAlbum, dir.filePath(u"old"_s), dir.filePath(u"new"_s)};
    prompts.answers = {Prompts::Answer::No};
    const auto choose = [&] {
        return OutputChoice::chooseFile(
            prompts, {u"名前を付けて保存"_s, u"*.xlsx|*.xlsx"_s, 1, dir.path(), u"写真帳.xlsx"_s}, u".xlsx"_s,
            guard, u"確認"_s);
    };
    EXPECT_EQ(choose(), dir.filePath(u"new.xlsx"_s));
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages[0].message.text.startsWith(u"出力先が開いているアルバムファイルです。"_s));
    EXPECT_TRUE(prompts.messages[1].message.text.contains(u"old.xlsx"_s + OutputChoice::ReplaceQuestion));
    EXPECT_EQ(prompts.messages[1].message.defaultAnswer, Prompts::Answer::No);
    ASSERT_EQ(prompts.fileRequests.size(), 3);
    EXPECT_EQ(prompts.fileRequests[0].folder, dir.path());
    EXPECT_EQ(prompts.fileRequests[0].name, u"写真帳.xlsx"_s);
    EXPECT_EQ(prompts.fileRequests[2].name, u"old.xlsx"_s) << "the dialog comes back with the last choice";

    prompts.savePaths = {dir.filePath(u"old"_s)};
    prompts.answers = {Prompts::Answer::Yes};
    EXPECT_EQ(choose(), existing);
    prompts.savePaths = {};
    EXPECT_EQ(choose(), QString()) << "cancelled";
}

// A name typed with another kind's extension gets this kind's: a PDF never goes over the
// workbook it was named like, and no question offers to replace it.
TEST_F(OutputGuardTest, TheSavedExtensionFitsTheKindOfOutput) {
    const QString book = dir.filePath(u"報告.xlsx"_s);
    writeBytes(book, "workbook");
    ScriptedPrompts prompts;
    const auto choose = [&](const QString& typed, const QString& filter, const QString& extension) {
        prompts.savePaths = {dir.filePath(typed)};
        return OutputChoice::chooseFile(prompts, {u"保存"_s, filter, 1, dir.path()}, extension, OutputGuard(),
                                        u"確認"_s);
    };
    const QString pdf = u"PDFﾌｧｲﾙ (*.pdf)|*.pdf"_s;
    EXPECT_EQ(choose(u"報告.xlsx"_s, pdf, u".pdf"_s), book + u".pdf"_s);
    EXPECT_TRUE(prompts.messages.isEmpty()) << "nothing to replace";
    EXPECT_EQ(choose(u"報告.PDF"_s, pdf, u".pdf"_s), dir.filePath(u"報告.PDF"_s));
    EXPECT_EQ(choose(u"第1.2版"_s, u"Excel ブック (*.xlsx)|*.xlsx"_s, u".xlsx"_s),
              dir.filePath(u"第1.2版.xlsx"_s));
    const QString albums = u"すべてのﾌｧｲﾙ (*.*)|*.*|ﾃﾞｰﾀ ﾌｧｲﾙ (*.dat)|*.dat"_s;
    EXPECT_EQ(choose(u"工事.txt"_s, albums, u".dat"_s), dir.filePath(u"工事.txt"_s))
        << "albums take any name";
    EXPECT_EQ(choose(u"工事"_s, albums, u".dat"_s), dir.filePath(u"工事.dat"_s));
    EXPECT_EQ(readBytes(book), "workbook");
}

// Two runs that change one album at once: the second waits for the first, then adds to what
// the first wrote.
TEST_F(OutputGuardTest, ASecondRunWaitsForTheAlbumOrSaysItIsInUse) {
    QProcess second;
    {
        const AlbumLock first(album);
        EXPECT_THROW(AlbumLock(album, std::chrono::milliseconds(50)), AppError) << "held by the first";
        try {
            AlbumLock(dir.filePath(u"album-link.dat"_s), std::chrono::milliseconds(50));
        } catch (const AppError& error) {
            EXPECT_TRUE(error.message().startsWith(AlbumLock::InUse)) << "any spelling shares the lock";
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TOVENLA_HOME"_s, dir.path());
        second.setProcessEnvironment(environment);
        second.start(QStringLiteral(TOVENLA_EXECUTABLE), {u"place"_s, album, photo});
        ASSERT_TRUE(second.waitForStarted());
        EXPECT_FALSE(second.waitForFinished(700)) << "the second run waits";
        QList<AlbumRow> rows = AlbumFile::load(album, 1000);
        rows.append(rows.constFirst());
        AlbumFile::save(album, rows); // the first run's change
    }
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_EQ(AlbumFile::load(album, 1000).size(), 4) << "both changes are kept";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Hidden | QDir::Files).filter(u".lock"_s), QStringList{});
}
