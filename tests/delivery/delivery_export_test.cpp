#include "album/album_file.h"
#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/output_folder.h"
#include "delivery/delivery_export.h"
#include "delivery/delivery_plan.h"
#include "delivery/replace_check.h"
#include "delivery_fixture.h"
#include "support/test_files.h"
#include "test_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QThread>

#include <memory>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const char* const StoppedFolderVariable = "TOVENLA_STOPPED_EXPORT_FOLDER";

const QStringList FullInfo = {u"No.1"_s,
                              u"測点 0+20"_s,
                              {},
                              {},
                              {},
                              {},
                              {},
                              {},
                              {},
                              u"床掘完了"_s,
                              u"掘削深さ確認"_s,
                              u"工事"_s,
                              u"2004-05-12"_s,
                              u"施工状況写真"_s,
                              u"道路土工"_s,
                              u"掘削工"_s,
                              u"土砂掘削"_s,
                              u"No.1 付近"_s,
                              u"設計 1.50m 実測 1.52m"_s};

} // namespace

class DeliveryExportTest : public DeliveryFolder {
protected:
    DeliveryResult run(QList<AlbumRow> rows, QStringList listed = {}, const Progress& progress = {},
                       const DeliveryExport::ConfirmRemoval& confirm = {}) {
        DeliveryRequest request;
        request.sheetRows = std::move(rows);
        request.listedAlbums = std::move(listed);
        request.folder = out.path();
        request.dtdPath = shippedDtd();
        return DeliveryExport::run(request, progress, confirm);
    }
    QString pic(int serial) const {
        return photoFolder() + u"/PIC/P"_s + QString::number(serial).rightJustified(7, u'0') + u".JPG"_s;
    }
    QString xmlText() const { return AnsiCodec::decode(readBytes(photoFolder() + u"/PHOTO.XML"_s)).text; }
    QStringList entriesOf(const QString& folder) const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
    QString album(const QString& name, const QList<AlbumRow>& rows) {
        const QString path = source.filePath(name);
        AlbumFile::save(path, rows);
        return path;
    }
};

TEST_F(DeliveryExportTest, SmallAlbumGivesTheExpectedFolderAndIndexByteForByte) {
    const QString first = photo(u"a.jpg"_s, 1);
    const QString third = photo(u"c.jpg"_s, 3);
    const DeliveryResult result =
        run({photoRow(first, FullInfo), AlbumRow{{}, u"no photo\r\n"_s, {}, {}},
             photoRow(third, {u"No.3"_s, {}, {}, {}, {}, {}, {}, {}, {}, u"全景"_s})});

    EXPECT_EQ(result.photoCount, 2);
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s}); // nothing left beside it
    EXPECT_EQ(entriesOf(photoFolder()), (QStringList{u"DRA"_s, u"PHOTO.XML"_s, u"PHOTO03.DTD"_s, u"PIC"_s}));
    EXPECT_TRUE(entriesOf(photoFolder() + u"/DRA"_s).isEmpty());
    EXPECT_EQ(readBytes(photoFolder() + u"/PHOTO03.DTD"_s), readBytes(shippedDtd()));
    EXPECT_EQ(readBytes(pic(1)), readBytes(first));
    EXPECT_EQ(readBytes(pic(2)), readBytes(third));
    EXPECT_EQ(
        readBytes(photoFolder() + u"/PHOTO.XML"_s),
        readBytes(QStringLiteral(TOVENLA_SOURCE_DIR) + u"/tests/data/delivery/small_album_PHOTO.XML"_s));
    expectValidPhotoXml(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(DeliveryExportTest, SerialsRunOverTheSheetAndThenTheListedAlbumsSkippingRowsWithoutPhotos) {
    const QString p1 = photo(u"1.jpg"_s, 1), p3 = photo(u"3.jpg"_s, 3), p5 = photo(u"5.jpg"_s, 5);
    const QString l2 = photo(u"other/2.jpg"_s, 12), l4 = photo(u"other/4.jpg"_s, 14);
    const AlbumRow empty{{}, u"text only\r\n"_s, u"7"_s, {}};
    const QString listed = album(u"more.dat"_s, {empty, photoRow(l2, {}), empty, photoRow(l4, {})});
    const QString blank = album(u"blank.dat"_s, {});
    run({photoRow(p1, {}), empty, photoRow(p3, {}), {}, photoRow(p5, {})}, {blank, listed, blank});

    EXPECT_EQ(entriesOf(photoFolder() + u"/PIC"_s).size(), 5);
    const QString sources[] = {p1, p3, p5, l2, l4};
    for (int serial = 1; serial <= 5; ++serial)
        EXPECT_EQ(readBytes(pic(serial)), readBytes(sources[serial - 1]));
    const QString xml = xmlText();
    EXPECT_TRUE(
        xml.contains(u"<シリアル番号>5</シリアル番号>\r\n<写真ファイル名>P0000005.JPG</写真ファイル名>"_s));
    EXPECT_FALSE(xml.contains(u"<シリアル番号>6<"_s));
    expectValidPhotoXml(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(DeliveryExportTest, AnyPictureTypeIsCopiedUnchangedUnderTheJpgName) {
    QImage image(7, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString bmp = source.filePath(u"写真.bmp"_s);
    ASSERT_TRUE(image.save(bmp, "BMP"));
    run({photoRow(bmp, {})});
    EXPECT_EQ(readBytes(pic(1)), readBytes(bmp));
}

TEST_F(DeliveryExportTest, MarkupInValuesIsEscapedAndTheIndexStaysValid) {
    QStringList info = FullInfo;
    info[9] = u"A&B <仮設> 1>0"_s;
    info[10] = u"\"quoted\" 'text'"_s;
    run({photoRow(photo(u"a.jpg"_s, 1), info)});
    const QString xml = xmlText();
    EXPECT_TRUE(xml.contains(u"<写真タイトル>A&amp;B &lt;仮設&gt; 1&gt;0</写真タイトル>\r\n"_s));
    EXPECT_TRUE(xml.contains(u"<請負者説明文>\"quoted\" 'text'</請負者説明文>\r\n"_s));
    expectValidPhotoXml(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(DeliveryExportTest, ASecondExportReplacesTheFirstWhole) {
    run({photoRow(photo(u"a.jpg"_s, 1), {}), photoRow(photo(u"b.jpg"_s, 2), {}),
         photoRow(photo(u"c.jpg"_s, 3), {})});
    writeBytes(photoFolder() + u"/DRA/old.pdf"_s, "old");
    const QString fresh = photo(u"new.jpg"_s, 9);
    QStringList asked;
    run({photoRow(fresh, {})}, {}, {}, [&](const QStringList& files) {
        asked = files;
        return true;
    });
    EXPECT_EQ(asked, QStringList{u"DRA/old.pdf"_s});
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(entriesOf(photoFolder() + u"/PIC"_s), QStringList{u"P0000001.JPG"_s});
    EXPECT_TRUE(entriesOf(photoFolder() + u"/DRA"_s).isEmpty());
    EXPECT_EQ(readBytes(pic(1)), readBytes(fresh));
}

// Photos of an album made from an earlier delivery live in the PHOTO folder the export
// replaces: they would be deleted or renumbered under the album's feet.
TEST_F(DeliveryExportTest, PhotosInsideThePreviousDeliveryAreRefusedNamingTheirRows) {
    const QString a = photo(u"a.jpg"_s, 1), b = photo(u"b.jpg"_s, 2);
    run({photoRow(a, {}), photoRow(b, {})});
    const QString listed = album(u"more.dat"_s, {AlbumRow{}, photoRow(pic(1), {})});
    try {
        run({photoRow(photo(u"c.jpg"_s, 3), {}), photoRow(pic(2), {})}, {listed});
        FAIL() << "the export should refuse";
    } catch (const AppError& error) {
        const QString message = error.message();
        EXPECT_TRUE(message.startsWith(ReplaceCheck::PhotosInside)) << error.what();
        EXPECT_TRUE(message.contains(u"写真帳 2 行目: "_s + pic(2))) << error.what();
        EXPECT_TRUE(message.contains(u"more.dat 2 行目: "_s + pic(1))) << error.what();
        EXPECT_FALSE(message.contains(u"写真帳 1 行目"_s)) << error.what();
    }
    EXPECT_EQ(readBytes(pic(1)), readBytes(a));
    EXPECT_EQ(readBytes(pic(2)), readBytes(b));
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
}

TEST_F(DeliveryExportTest, AFailureOrCancelPartWayLeavesThePreviousDeliveryAsItWas) {
    const QString a = photo(u"a.jpg"_s, 1), b = photo(u"b.jpg"_s, 2), c = photo(u"c.jpg"_s, 3);
    run({photoRow(a, {})});
    const QByteArray previousXml = readBytes(photoFolder() + u"/PHOTO.XML"_s);

    // The last photo disappears while the first ones are being copied.
    try {
        run({photoRow(b, {}), photoRow(c, {})}, {},
            Progress([&](const ProgressStep&) { QFile::remove(c); }, nullptr));
        FAIL() << "the export should fail";
    } catch (const AppError& error) {
        // Named by its row, as a photo missing before the export is.
        EXPECT_TRUE(error.message().startsWith(u"写真帳 2 行目の写真を読めません。\n"_s +
                                               QDir::toNativeSeparators(c) +
                                               u"\nファイルが見つかりません。"_s))
            << error.what();
        EXPECT_TRUE(error.message().endsWith(u"以前の PHOTO フォルダは変更していません。"_s)) << error.what();
    }
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(readBytes(photoFolder() + u"/PHOTO.XML"_s), previousXml);
    EXPECT_EQ(readBytes(pic(1)), readBytes(a));

    const std::atomic_bool stop = true;
    EXPECT_THROW(run({photoRow(b, {})}, {}, Progress({}, &stop)), Cancelled);
    EXPECT_EQ(DeliveryExport::cancelledText(out.path()),
              u"電子納品の出力を中止しました。\n\n以前の PHOTO フォルダは変更していません。"_s);
    EXPECT_EQ(DeliveryExport::cancelledText(source.path()), u"電子納品の出力を中止しました。"_s)
        << "no previous delivery there to keep";
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(readBytes(pic(1)), readBytes(a));

    // PHOTO replaced meanwhile by something that took no lock: nothing is claimed about it.
    photo(u"c.jpg"_s, 3);
    try {
        run({photoRow(b, {}), photoRow(c, {})}, {},
            Progress(
                [&](const ProgressStep&) {
                    QFile::remove(c);
                    if (QDir(out.path()).rename(u"PHOTO"_s, u"moved"_s)) QDir(out.path()).mkdir(u"PHOTO"_s);
                },
                nullptr));
        FAIL() << "the export should fail";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(c))) << error.what();
        EXPECT_FALSE(error.message().contains(u"以前の PHOTO フォルダは変更していません。"_s))
            << error.what();
    }
}

// A card pulled while its photo is copied is the card's fault, not the delivery folder's; a stick
// unmounted under the export leaves another folder at its path, which gets nothing.
TEST_F(DeliveryExportTest, APhotoCutShortOrTheFolderGoneMidRunFailsNamingTheRealCause) {
    const QString a = photo(u"a.jpg"_s, 1), big = photo(u"big.jpg"_s, 2, 17 * 1024 * 1024);
    try {
        run({photoRow(a, {}), photoRow(big, {})}, {},
            Progress(
                [&](const ProgressStep& step) {
                    if (step.done > 4 * 1024 * 1024) QFile::resize(big, 9 * 1024 * 1024);
                },
                nullptr));
        FAIL() << "the export should fail";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), u"写真帳 2 行目の写真を読めません。\n"_s + QDir::toNativeSeparators(big) +
                                       u"\nファイルを最後まで読み取れませんでした。"_s);
    }
    EXPECT_TRUE(entriesOf(out.path()).isEmpty());

    const QString moved = source.filePath(u"unmounted"_s);
    try {
        run({photoRow(a, {}), photoRow(photo(u"b.jpg"_s, 3), {})}, {},
            Progress(
                [&](const ProgressStep& step) {
                    if (step.done > 0 && !QFileInfo::exists(moved)) {
                        QDir().rename(out.path(), moved);
                        QDir().mkdir(out.path());
                    }
                },
                nullptr));
        FAIL() << "the export should fail";
    } catch (const AppError& error) {
        EXPECT_TRUE(
            error.message().startsWith(OutputFolder::Gone + u'\n' + QDir::toNativeSeparators(out.path())))
            << error.what();
    }
    EXPECT_TRUE(entriesOf(out.path()).isEmpty());
}

TEST_F(DeliveryExportTest, EveryMissingPhotoIsReportedWithItsRowBeforeAnythingIsWritten) {
    const QString a = photo(u"a.jpg"_s, 1);
    const QString listed = album(u"more.dat"_s, {AlbumRow{}, photoRow(u"/nowhere/x.jpg"_s, {})});
    try {
        run({photoRow(a, {}), photoRow(u"C:\\photos\\P001.JPG"_s, {}),
             photoRow(source.filePath(u"gone.jpg"_s), {})},
            {listed});
        FAIL() << "the export should fail";
    } catch (const AppError& error) {
        const QString message = error.message();
        EXPECT_TRUE(message.startsWith(u"写真ファイルが見つかりません（3 件）"_s)) << error.what();
        EXPECT_TRUE(message.contains(u"写真帳 2 行目: C:\\photos\\P001.JPG"_s)) << error.what();
        EXPECT_TRUE(message.contains(u"写真帳 3 行目: "_s)) << error.what();
        EXPECT_TRUE(message.contains(u"more.dat 2 行目: "_s)) << error.what();
    }
    EXPECT_TRUE(entriesOf(out.path()).isEmpty());
}

TEST_F(DeliveryExportTest, TextsShiftJisCannotHoldAreReportedWithRowAndItem) {
    QStringList info = FullInfo;
    info[17] = u"𠮷野家前"_s;
    try {
        run({photoRow(photo(u"a.jpg"_s, 1), {}), photoRow(photo(u"b.jpg"_s, 2), info)});
        FAIL() << "the export should fail";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"写真帳 2 行目 撮影箇所（18 行目）: 𠮷"_s)) << error.what();
    }
    EXPECT_TRUE(entriesOf(out.path()).isEmpty());
}

TEST_F(DeliveryExportTest, RefusesWhatWouldGiveNoUsableDelivery) {
    const auto failure = [&](QList<AlbumRow> rows, QStringList listed = {}) {
        try {
            run(std::move(rows), std::move(listed));
        } catch (const AppError& error) {
            return error.message();
        }
        return QString();
    };
    EXPECT_EQ(failure({AlbumRow{{}, u"text\r\n"_s, {}, {}}}), DeliveryPlanner::NoPhotos);
    const QString notAnAlbum = source.filePath(u"notes.dat"_s);
    writeBytes(notAnAlbum, "plain text");
    EXPECT_TRUE(failure({photoRow(photo(u"a.jpg"_s, 1), {})}, {notAnAlbum}).contains(notAnAlbum));
    EXPECT_TRUE(entriesOf(out.path()).isEmpty());

    DeliveryRequest request;
    request.sheetRows = {photoRow(photo(u"b.jpg"_s, 2), {})};
    request.folder = out.path();
    request.dtdPath = source.filePath(u"PHOTO03.DTD"_s);
    EXPECT_THROW(DeliveryExport::run(request), AppError);
    EXPECT_TRUE(entriesOf(out.path()).isEmpty());
}

TEST_F(DeliveryExportTest, WhatAKilledExportLeftIsPutRightByTheNextOne) {
    const auto leave = [&](const QString& file, const QByteArray& bytes) {
        QDir(out.path()).mkpath(QFileInfo(file).path());
        writeBytes(out.filePath(file), bytes);
    };
    // Killed between moving the old folder aside and renaming the new one into place.
    leave(u".PHOTO-old-abc123/PHOTO.XML"_s, "old index");
    leave(u".PHOTO-new-def456/PIC/P0000001.JPG"_s, "half");
    DeliveryExport::recoverInterrupted(out.path());
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(readBytes(photoFolder() + u"/PHOTO.XML"_s), "old index");

    // With the old folder in place, leftovers are only removed, and an export does it itself.
    leave(u".PHOTO-old-x/PHOTO.XML"_s, "older");
    leave(u".PHOTO-new-y/PHOTO.XML"_s, "unfinished");
    run({photoRow(photo(u"a.jpg"_s, 1))}, {}, {}, [](const QStringList&) { return true; });
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(readBytes(pic(1)), readBytes(source.filePath(u"a.jpg"_s)));
}

TEST_F(DeliveryExportTest, WhatStandsAtPhotoIsReplacedWithoutReachingOutsideTheChosenFolder) {
    // A link to a delivery kept elsewhere: only the link itself goes.
    const QString elsewhere = source.filePath(u"kept"_s);
    QDir().mkpath(elsewhere + u"/PIC"_s);
    writeBytes(elsewhere + u"/PIC/P0000001.JPG"_s, "kept photo");
    ASSERT_TRUE(QFile::link(elsewhere, photoFolder()));
    const QString fresh = photo(u"new.jpg"_s, 5);
    run({photoRow(fresh, {})});
    EXPECT_EQ(entriesOf(elsewhere), QStringList{u"PIC"_s});
    EXPECT_EQ(readBytes(elsewhere + u"/PIC/P0000001.JPG"_s), "kept photo");
    EXPECT_FALSE(QFileInfo(photoFolder()).isSymLink());
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(readBytes(pic(1)), readBytes(fresh));

    // A file of the user's that happens to be called PHOTO is named, never moved aside.
    ASSERT_TRUE(QDir(photoFolder()).removeRecursively());
    writeBytes(photoFolder(), "notes");
    try {
        run({photoRow(fresh, {})});
        FAIL() << "the export should refuse";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), ReplaceCheck::PhotoIsFile + u'\n' + photoFolder());
    }
    EXPECT_EQ(entriesOf(out.path()), QStringList{u"PHOTO"_s});
    EXPECT_EQ(readBytes(photoFolder()), "notes");
}

TEST_F(DeliveryExportTest, TheDeliveredFolderGetsThePermissionsOfAnyFolderTheUserMakes) {
    const mode_t previous = ::umask(022);
    run({photoRow(photo(u"a.jpg"_s, 1), {})});
    ::umask(previous);
    const auto mode = [](const QString& path) {
        struct stat status {};
        EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
        return status.st_mode & 07777;
    };
    EXPECT_EQ(mode(photoFolder()), 0755u);
    EXPECT_EQ(mode(photoFolder() + u"/PIC"_s), 0755u);
    EXPECT_EQ(mode(photoFolder() + u"/PHOTO.XML"_s), 0644u);
    EXPECT_EQ(mode(pic(1)), 0644u);
}

// The child's side of the tests below: an export that stops half-way until it is killed.
TEST(DeliveryExportChild, StopsHalfWayUntilKilled) {
    const QString folder = qEnvironmentVariable(StoppedFolderVariable);
    if (folder.isEmpty()) GTEST_SKIP() << "runs only as the child of an interrupted-export test";
    DeliveryRequest request;
    request.sheetRows = {photoRow(QDir(folder).filePath(u"photo.jpg"_s))};
    request.folder = folder;
    request.dtdPath = shippedDtd();
    DeliveryExport::run(request, Progress(
                                     [](const ProgressStep&) {
                                         fputs("ready\n", stdout);
                                         fflush(stdout);
                                         for (;;)
                                             QThread::sleep(1);
                                     },
                                     nullptr));
}

namespace {

// Another run exporting into folder, stopped half-way with its hidden folder made. dataHome,
// when given, stands for another user's data folder.
std::unique_ptr<QProcess> stoppedExport(const QString& folder, const QString& dataHome = {}) {
    auto child = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(StoppedFolderVariable), folder);
    if (!dataHome.isEmpty()) environment.insert(u"XDG_DATA_HOME"_s, dataHome);
    child->setProcessEnvironment(environment);
    child->start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=DeliveryExportChild.*"_s});
    QByteArray said;
    while (!said.contains("ready\n") && child->waitForReadyRead(30000))
        said += child->readAllStandardOutput();
    EXPECT_TRUE(said.contains("ready\n")) << said.toStdString();
    return child;
}

QStringList hiddenFolders(const QString& folder) {
    return QDir(folder).entryList({u".PHOTO-*"_s}, QDir::Dirs | QDir::Hidden);
}

} // namespace

TEST_F(DeliveryExportTest, AKilledExportIsPutRightByTheNextExportAnywhereButNotWhileItRuns) {
    QTemporaryDir other;
    writeBytes(other.filePath(u"photo.jpg"_s), photoBytes(1));
    std::unique_ptr<QProcess> child = stoppedExport(other.path());
    ASSERT_EQ(hiddenFolders(other.path()).size(), 1);
    run({photoRow(photo(u"a.jpg"_s, 1), {})});
    EXPECT_EQ(hiddenFolders(other.path()).size(), 1); // still running: left alone
    child->kill();
    child->waitForFinished();
    run({photoRow(photo(u"a.jpg"_s, 1), {})});
    EXPECT_EQ(hiddenFolders(other.path()), QStringList());
    EXPECT_EQ(entriesOf(other.path()), QStringList{u"photo.jpg"_s});
}

// Another spelling of the folder (a link here; another letter case on a disk that folds case)
// and another user's run (its own data folder) share the folder's one lock.
TEST_F(DeliveryExportTest, TwoExportsIntoOneFolderAreKeptApartWhateverTheSpellingOrUser) {
    writeBytes(out.filePath(u"photo.jpg"_s), photoBytes(1));
    const QString spelled = source.filePath(u"Out"_s);
    ASSERT_TRUE(QFile::link(out.path(), spelled));
    QTemporaryDir otherUser;
    std::unique_ptr<QProcess> child = stoppedExport(spelled, otherUser.path());
    const qint64 childProcess = child->processId();
    ASSERT_EQ(hiddenFolders(out.path()).size(), 1);

    // An export of this user's into the folder, killed some time ago, is put right only later.
    const QString records = dataHome.folder.filePath(u"Tovenla2/exports"_s);
    QDir().mkpath(records);
    writeBytes(records + u"/killed.export"_s, QFile::encodeName(out.path()));
    DeliveryExport::recoverAllInterrupted();
    EXPECT_EQ(hiddenFolders(out.path()).size(), 1) << "the live run's folder stays";
    EXPECT_TRUE(QFileInfo::exists(records + u"/killed.export"_s));

    try {
        run({photoRow(photo(u"a.jpg"_s, 2), {})});
        FAIL() << "the folder is in use";
    } catch (const AppError& error) {
        const QStringList lines = error.message().split(u'\n');
        ASSERT_EQ(lines.size(), 4) << error.what();
        EXPECT_EQ(lines[0], DeliveryExport::Busy);
        EXPECT_EQ(lines[1], QDir::toNativeSeparators(out.path()));
        EXPECT_TRUE(lines[2].contains(QSysInfo::machineHostName())) << error.what();
        EXPECT_TRUE(lines[3].contains(u"プロセス "_s + QString::number(childProcess))) << error.what();
    }
    EXPECT_EQ(hiddenFolders(out.path()).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));

    child->kill();
    child->waitForFinished();
    run({photoRow(photo(u"a.jpg"_s, 2), {})});
    EXPECT_EQ(hiddenFolders(out.path()), QStringList());
    EXPECT_EQ(entriesOf(out.path()), QStringList({u"PHOTO"_s, u"photo.jpg"_s}));
    EXPECT_EQ(readBytes(pic(1)), photoBytes(2));
    EXPECT_FALSE(QFileInfo::exists(records + u"/killed.export"_s));
}
