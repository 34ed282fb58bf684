#include "album/album_file.h"
#include "support/photo_files.h"
#include "support/test_files.h"
#include "test_paths.h"
#include "tovenla_version.h"

#include <QDir>
#include <QDirIterator>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Finished {
    int status = -1;
    QString out;
    QString err;
};

// The install tree as a package would hold it, and a fresh home for the user who runs it.
class InstallTree : public testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new QTemporaryDir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"DESTDIR"_s, stage());
        // Every install rewrites the build's install_manifest.txt: one test program at a time.
        QLockFile lock(QStringLiteral(TOVENLA_BUILD_DIR) + u"/install-test.lock"_s);
        ASSERT_TRUE(lock.lock());
        const Finished install =
            run(QStringLiteral(TOVENLA_CMAKE),
                {u"--install"_s, QStringLiteral(TOVENLA_BUILD_DIR), u"--prefix"_s, u"/usr"_s}, environment);
        ASSERT_EQ(install.status, 0) << install.err.toStdString();
    }
    static void TearDownTestSuite() {
        delete root_;
        root_ = nullptr;
    }

    static QString stage() { return root_->filePath(u"stage"_s); }
    static QString home() { return root_->filePath(u"home"_s); }

    static Finished run(const QString& program, const QStringList& arguments,
                        const QProcessEnvironment& environment) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        Finished result;
        if (!process.waitForFinished(120000)) return result;
        result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    // The installed program run by a user with no settings of their own yet.
    static Finished installed(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : {u"TOVENLA_HOME"_s, u"XDG_DATA_HOME"_s, u"XDG_CONFIG_HOME"_s})
            environment.remove(name);
        environment.insert(u"HOME"_s, home());
        return run(stage() + u"/usr/bin/tovenla2"_s, arguments, environment);
    }

    static QStringList stagedFiles() {
        QStringList files;
        QDirIterator it(stage(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(stage()).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    static QTemporaryDir* root_;
};

QTemporaryDir* InstallTree::root_ = nullptr;

} // namespace

TEST_F(InstallTree, HoldsTheProgramAndItsShippedFilesAndNothingElse) {
    QStringList expected{u"usr/bin/tovenla2"_s, u"usr/share/applications/tovenla2.desktop"_s,
                         u"usr/share/icons/hicolor/scalable/apps/tovenla2.svg"_s,
                         u"usr/share/metainfo/jp.tovenla.tovenla2.metainfo.xml"_s};
    for (const int size : {16, 32, 48, 64, 128, 256})
        expected << u"usr/share/icons/hicolor/%1x%1/apps/tovenla2.png"_s.arg(size);
    for (const QString& name :
         {u"PHOTO03.DTD"_s, u"PHOTO05.DTD"_s, u"不動産ORG.xlsx"_s, u"作業管理写真ORG.xlsx"_s,
          u"写真帳ORG.xlsx"_s, u"境界点写真ORG.xlsx"_s, u"点の記4ORG.xlsx"_s, u"現地踏査ORG.xlsx"_s})
        expected << u"usr/share/tovenla2/"_s + name;
    expected.sort();
    EXPECT_EQ(stagedFiles(), expected);
}

// The checks the desktop and the software centre apply before they list the program.
TEST_F(InstallTree, TheMenuEntryAndTheDescriptionValidate) {
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString entry = stage() + u"/usr/share/applications/tovenla2.desktop"_s;
    const QString metainfo = stage() + u"/usr/share/metainfo/jp.tovenla.tovenla2.metainfo.xml"_s;
    const QString desktopCheck = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    const QString appstream = QStandardPaths::findExecutable(u"appstreamcli"_s);
    if (desktopCheck.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "desktop-file-validate or appstreamcli missing (desktop-file-utils, appstream)";
    const Finished desktop = run(desktopCheck, {entry}, environment);
    EXPECT_EQ(desktop.status, 0) << desktop.out.toStdString() << desktop.err.toStdString();
    const Finished software = run(appstream, {u"validate"_s, u"--no-net"_s, metainfo}, environment);
    EXPECT_EQ(software.status, 0) << software.out.toStdString() << software.err.toStdString();

    // The entry names the icon the theme holds and the program the package puts on PATH.
    const QString text = QString::fromUtf8(readBytes(entry));
    EXPECT_TRUE(text.contains(u"\nIcon=tovenla2\n"_s));
    EXPECT_TRUE(text.contains(u"\nExec=tovenla2 "_s));
    EXPECT_TRUE(text.contains(u"\nComment[ja]=工事写真帳の作成と電子納品\n"_s));
}

// The installed program, not the build's, makes the deliverables from the installed templates
// and DTDs, and leaves the install tree as it found it.
TEST_F(InstallTree, TheInstalledProgramWorksFromItsSharedFiles) {
    const Finished version = installed({u"--version"_s});
    EXPECT_EQ(version.out, u"Tovenla2 "_s + QStringLiteral(TOVENLA_VERSION) + u"\n"_s);
    EXPECT_EQ(version.status, 0) << version.err.toStdString();

    const QStringList before = stagedFiles();
    const QDir work(root_->filePath(u"work"_s));
    ASSERT_TRUE(QDir().mkpath(work.filePath(u"out"_s)));
    writeJpeg(work.filePath(u"a.jpg"_s), twoColourImage({320, 240}, Qt::darkGreen, Qt::gray));
    QStringList lines(19);
    lines[9] = u"全景"_s;
    lines[11] = u"測量"_s;
    lines[12] = u"2024-06-01"_s;
    AlbumRow row;
    row.path = work.filePath(u"a.jpg"_s);
    row.info = lines.join(u"\r\n"_s) + u"\r\n"_s;
    const QString album = work.filePath(u"album.dat"_s);
    AlbumFile::save(album, {row});

    const Finished excel = installed({u"excel"_s, album, work.filePath(u"album.xlsx"_s)});
    EXPECT_EQ(excel.status, 0) << excel.err.toStdString();
    EXPECT_TRUE(QFileInfo(work.filePath(u"album.xlsx"_s)).size() > 0);

    const Finished deliver = installed({u"deliver"_s, album, u"--to"_s, work.filePath(u"out"_s)});
    ASSERT_EQ(deliver.status, 0) << deliver.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(work.filePath(u"out/PHOTO/PHOTO.XML"_s)));
    EXPECT_EQ(readBytes(work.filePath(u"out/PHOTO/PHOTO05.DTD"_s)),
              readBytes(stage() + u"/usr/share/tovenla2/PHOTO05.DTD"_s));

    EXPECT_EQ(stagedFiles(), before);
}
