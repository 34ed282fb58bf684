#include "album/album_file.h"
#include "base/file_io.h"
#include "delivery/delivery_export.h"
#include "delivery/delivery_settings.h"
#include "delivery/replace_check.h"
#include "delivery_fixture.h"
#include "support/test_files.h"
#include "support/test_media.h"
#include "test_paths.h"
#include "workspace/settings_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

using namespace Qt::StringLiterals;

class DeliverCommandTest : public DeliveryFolder {
protected:
    int deliver(const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TOVENLA_HOME"_s, home.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TOVENLA_EXECUTABLE), QStringList{u"deliver"_s} + arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        output = QString::fromUtf8(program.readAllStandardOutput());
        errors = QString::fromUtf8(program.readAllStandardError());
        return program.exitCode();
    }

    QTemporaryDir home;
    QString output;
    QString errors;
};

TEST_F(DeliverCommandTest, WritesThePhotoFolderFromTheAlbumAndTheFurtherOnes) {
    const QString album = source.filePath(u"album.dat"_s);
    const QString more = source.filePath(u"more.dat"_s);
    AlbumFile::save(album, {photoRow(photo(u"a.jpg"_s, 1), {}), AlbumRow{{}, u"x\r\n"_s, {}, {}}});
    AlbumFile::save(more, {photoRow(photo(u"b.jpg"_s, 2), {})});
    ASSERT_EQ(deliver({album, more, u"--to"_s, out.path(), u"--standard"_s, u"03"_s}), 0)
        << errors.toStdString();
    EXPECT_TRUE(output.contains(u"2 枚"_s)) << output.toStdString();
    // The old standard writes what the current check calls errors, after warning of them.
    EXPECT_TRUE(errors.contains(u"warning\tformat\tmore.dat 1 行目 ("_s)) << errors.toStdString();
    EXPECT_TRUE(errors.endsWith(u"写真管理基準: PHOTO03 (土木200406-01)\n"_s)) << errors.toStdString();
    EXPECT_EQ(readBytes(photoFolder() + u"/PIC/P0000002.JPG"_s), photoBytes(2));
    expectValidPhotoXml(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(DeliverCommandTest, FailsWithTheReasonsAndAStatusOnStandardError) {
    const QString album = source.filePath(u"album.dat"_s);
    AlbumFile::save(album, {photoRow(source.filePath(u"gone.jpg"_s), {})});
    EXPECT_EQ(deliver({album, u"--to"_s, out.path(), u"--standard"_s, u"03"_s}), 1);
    EXPECT_TRUE(errors.contains(u"写真ファイルが見つかりません（1 件）"_s)) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));

    EXPECT_EQ(deliver({album}), 1);
    EXPECT_TRUE(errors.contains(u"deliver ALBUM.dat"_s)) << errors.toStdString();
}

TEST_F(DeliverCommandTest, NeverDeletesItsInputsOrFilesItDidNotMakeUnlessTold) {
    const QString album = source.filePath(u"album.dat"_s);
    QStringList info(19);
    info[9] = u"全景"_s;
    info[11] = u"測量"_s;
    info[12] = u"2024-06-01"_s;
    AlbumFile::save(album, {photoRow(jpeg(u"a.jpg"_s), info)});
    ASSERT_EQ(deliver({album, u"--to"_s, out.path()}), 0) << errors.toStdString();

    // The album given, or a further one, kept in the PHOTO folder that would be replaced.
    const QString inside = photoFolder() + u"/my_album.dat"_s;
    ASSERT_TRUE(QFile::copy(album, inside));
    for (const QStringList& albums : {QStringList{inside}, QStringList{album, inside}}) {
        EXPECT_EQ(deliver(albums + QStringList{u"--to"_s, out.path(), u"--replace-all"_s}), 1);
        EXPECT_TRUE(errors.contains(ReplaceCheck::AlbumsInside)) << errors.toStdString();
        EXPECT_TRUE(errors.contains(inside)) << errors.toStdString();
        EXPECT_EQ(readBytes(inside), readBytes(album));
    }
    ASSERT_TRUE(QFile::remove(inside));

    // A drawing the user put beside the photos goes only with --replace-all.
    const QString drawing = photoFolder() + u"/DRA/plan.pdf"_s;
    writeBytes(drawing, "drawing");
    EXPECT_EQ(deliver({album, u"--to"_s, out.path()}), 1);
    EXPECT_TRUE(errors.startsWith(ReplaceCheck::Foreign)) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"\nDRA/plan.pdf\n"_s)) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"--replace-all"_s));
    EXPECT_FALSE(errors.contains(u"P0000001.JPG"_s)) << errors.toStdString();
    EXPECT_EQ(readBytes(drawing), "drawing");
    EXPECT_EQ(deliver({album, u"--to"_s, out.path(), u"--replace-all"_s}), 0) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(drawing));
}

// The disk is a small file system of the test's own, mounted where only the command sees it.
TEST_F(DeliverCommandTest, RefusesUpFrontWhenTheDiskCannotHoldTheNewFolderBesideTheOld) {
    const QString unshare = QStandardPaths::findExecutable(u"unshare"_s);
    if (::geteuid() != 0 || unshare.isEmpty()) GTEST_SKIP() << "needs root and unshare to mount a small disk";
    const QString small = source.filePath(u"small.dat"_s), big = source.filePath(u"big.dat"_s);
    AlbumFile::save(small, {photoRow(photo(u"a.jpg"_s, 1, 100 * 1024), {})});
    QList<AlbumRow> rows;
    for (int i = 0; i < 3; ++i)
        rows << photoRow(photo(u"b%1.jpg"_s.arg(i), 2 + i, 200 * 1024), {});
    AlbumFile::save(big, rows);
    const QString disk = out.filePath(u"disk"_s);
    QDir().mkpath(disk);
    const QString script = uR"(mount -t tmpfs -o size=512k none "$1" || exit 77
"$2" deliver "$3" --to "$1" --standard 03 || exit 78
"$2" deliver "$4" --to "$1" --standard 03; echo "status=$?"
ls -A "$1" "$1/PHOTO/PIC")"_s;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TOVENLA_HOME"_s, home.path());
    program.setProcessEnvironment(environment);
    program.start(unshare, {u"-m"_s, u"sh"_s, u"-c"_s, script, u"sh"_s, disk,
                            QStringLiteral(TOVENLA_EXECUTABLE), small, big});
    ASSERT_TRUE(program.waitForFinished(60000));
    const QString shown = QString::fromUtf8(program.readAllStandardOutput());
    errors = QString::fromUtf8(program.readAllStandardError());
    if (program.exitCode() == 77) GTEST_SKIP() << "cannot mount a small disk here: " << errors.toStdString();
    ASSERT_EQ(program.exitCode(), 0) << errors.toStdString();
    EXPECT_TRUE(shown.contains(u"status=1\n"_s)) << shown.toStdString();
    EXPECT_TRUE(errors.contains(DeliveryExport::NoSpace + u"\n必要な空き容量："_s)) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u" MB\n空き容量："_s)) << errors.toStdString();
    EXPECT_FALSE(errors.contains(u".PHOTO-"_s)) << errors.toStdString();
    // The first delivery stands as it was, with nothing beside it.
    EXPECT_TRUE(shown.endsWith(u":\nPHOTO\n\n"_s + disk + u"/PHOTO/PIC:\nP0000001.JPG\n"_s))
        << shown.toStdString();
}

// Some file systems report their size as 0 (a tmpfs without a limit, some network and FUSE
// ones): the free space is then unknown, not none.
TEST_F(DeliverCommandTest, DeliversOntoADiskThatDoesNotTellItsSize) {
    const TestMount disk(TestMount::Kind::Sizeless);
    if (!disk.failure().isEmpty()) GTEST_SKIP() << disk.failure().toStdString();
    EXPECT_EQ(freeSpace(disk.path()), std::nullopt);
    EXPECT_GT(freeSpace(source.path()).value_or(0), 0);
    const QString album = source.filePath(u"album.dat"_s);
    AlbumFile::save(album, {photoRow(photo(u"a.jpg"_s, 1), {})});
    EXPECT_EQ(deliver({album, u"--to"_s, disk.path(), u"--standard"_s, u"03"_s}), 0) << errors.toStdString();
    EXPECT_TRUE(QFile::exists(disk.path() + u"/PHOTO/PIC/P0000001.JPG"_s));
}

class CheckDeliveryCommandTest : public DeliverCommandTest {
protected:
    int run(const QStringList& arguments) {
        QProcess program;
        program.start(QStringLiteral(TOVENLA_EXECUTABLE), arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        output = QString::fromUtf8(program.readAllStandardOutput());
        errors = QString::fromUtf8(program.readAllStandardError());
        return program.exitCode();
    }
    QString album(const QStringList& date) {
        QStringList lines(19);
        lines[9] = u"全景"_s;
        lines[11] = u"測量"_s;
        lines[12] = date.value(0);
        const QString path = source.filePath(u"album.dat"_s);
        AlbumFile::save(path, {photoRow(jpeg(u"a.jpg"_s, {1600, 1200}, date.value(1)), lines)});
        return path;
    }
};

TEST_F(CheckDeliveryCommandTest, TheCurrentStandardOnRequestAndAFolderThatPassesTheCheck) {
    const QString path = album({u"2024-06-01"_s});
    ASSERT_EQ(deliver({path, u"--to"_s, out.path(), u"--standard"_s, u"05"_s}), 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"PHOTO05 (土木202303-01)"_s)) << errors.toStdString();
    EXPECT_TRUE(QFileInfo::exists(photoFolder() + u"/PHOTO05.DTD"_s));
    EXPECT_FALSE(QFileInfo::exists(photoFolder() + u"/PHOTO03.DTD"_s));
    expectValidPhotoXml05(photoFolder() + u"/PHOTO.XML"_s);
    // The folder or the one holding it.
    EXPECT_EQ(run({u"check-delivery"_s, photoFolder()}), 0) << output.toStdString();
    EXPECT_EQ(run({u"check-delivery"_s, out.path()}), 0);
    EXPECT_EQ(output, QString());

    // Without --standard the command follows the standard last chosen in the window, else 05.
    ASSERT_EQ(deliver({path, u"--to"_s, out.path()}), 0);
    EXPECT_TRUE(errors.contains(u"PHOTO05 (土木202303-01)"_s)) << errors.toStdString();
    Settings settings;
    DeliverySettings::store(settings, PhotoStandard::Version::V03, {}, {});
    writeBytes(home.filePath(u"tovenla.ini"_s), SettingsFile::serialize(settings).bytes);
    ASSERT_EQ(deliver({path, u"--to"_s, out.path()}), 0);
    EXPECT_TRUE(errors.contains(u"PHOTO03 (土木200406-01)"_s)) << errors.toStdString();
    EXPECT_EQ(run({u"check-delivery"_s, out.path()}), 0) << output.toStdString();
}

TEST_F(CheckDeliveryCommandTest, RefusalsNameTheRowAndKeepThePreviousDelivery) {
    ASSERT_EQ(deliver({album({u"2024-06-01"_s}), u"--to"_s, out.path(), u"--standard"_s, u"05"_s}), 0);
    const QByteArray before = readBytes(photoFolder() + u"/PHOTO.XML"_s);
    EXPECT_EQ(deliver({album({}), u"--to"_s, out.path(), u"--standard"_s, u"05"_s}), 1);
    EXPECT_TRUE(errors.contains(u"error\trequired\talbum.dat 1 行目 ("_s)) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"a.jpg)\t撮影年月日（情報 13 行目）\t"_s));
    EXPECT_EQ(readBytes(photoFolder() + u"/PHOTO.XML"_s), before);
    EXPECT_EQ(deliver({album({}), u"--to"_s, out.path(), u"--standard"_s, u"04"_s}), 1);
    EXPECT_TRUE(errors.contains(u"--standard"_s));
}

TEST_F(CheckDeliveryCommandTest, ExitStatusesAndOneTabSeparatedLineAFinding) {
    ASSERT_EQ(deliver({album({u"2024-06-01"_s}), u"--to"_s, out.path(), u"--standard"_s, u"05"_s}), 0);
    writeBytes(photoFolder() + u"/PIC/Thumbs.db"_s, "x");
    EXPECT_EQ(run({u"check-delivery"_s, out.path()}), 2);
    EXPECT_EQ(output, u"error\textra-file\t-\t-\tPIC の Thumbs.db は PHOTO.XML にありません。\n"_s);
    EXPECT_EQ(run({u"check-delivery"_s, source.filePath(u"nowhere"_s)}), 1);
    EXPECT_EQ(run({u"check-delivery"_s, source.path()}), 1); // no PHOTO.XML
    EXPECT_EQ(run({u"--help"_s}), 0);
    EXPECT_TRUE(output.contains(u"check-delivery FOLDER"_s));
    EXPECT_TRUE(output.contains(u"--standard 03|05"_s));
    EXPECT_TRUE(output.contains(u"[--replace-all]"_s));
}
