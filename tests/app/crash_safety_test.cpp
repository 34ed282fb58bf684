#include "album/album_file.h"
#include "album/photo_copy.h"
#include "app/album_sheet.h"
#include "app/session.h"
#include "app/workspace.h"
#include "delivery/delivery_export.h"
#include "excel/workbook.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <map>

using namespace Qt::StringLiterals;

// Each writer is run over and over in a child process that is killed at a random moment;
// afterwards every file it writes must be the old or the new content, whole, with nothing
// half-made beside it.

namespace {

constexpr int PhotoCount = 8;
constexpr int KillsPerWriter = 8;

const char* const WriterVariable = "TOVENLA_CRASH_WRITER";
const char* const FolderVariable = "TOVENLA_CRASH_FOLDER";

QString photoOf(const QString& work, int version, int i) {
    return QDir(work).filePath(u"src/v%1_%2.jpg"_s.arg(version).arg(i));
}

// The sources both versions copy from, made before any writer runs.
void makeSources(const QString& work) {
    QDir().mkpath(QDir(work).filePath(u"src"_s));
    for (int version = 0; version < 2; ++version)
        for (int i = 0; i < PhotoCount; ++i)
            writeBytes(photoOf(work, version, i), QByteArray(512 * 1024, char('a' + version * 10 + i)));
}

QList<AlbumRow> albumRows(int version, int count, qsizetype infoSize) {
    QList<AlbumRow> rows;
    for (int i = 0; i < count; ++i) {
        AlbumRow row;
        row.info = QString(infoSize, QChar(u'あ' + version)) + u"\r\n"_s + QString::number(i) + u"\r\n"_s;
        rows << row;
    }
    return rows;
}

QList<AlbumRow> photoRows(const QString& work, int version) {
    QList<AlbumRow> rows;
    for (int i = 0; i < PhotoCount; ++i) {
        AlbumRow row;
        row.path = photoOf(work, version, i);
        row.info = u"\r\nP%1\r\n"_s.arg(i); // the same copy names for both versions
        rows << row;
    }
    return rows;
}

// The writers under test: each writes `version` of its output into `target`.
const std::map<std::string, std::function<void(const QString& work, const QString& target, int version)>>&
writers() {
    static const std::map<std::string, std::function<void(const QString&, const QString&, int)>> all = {
        {"album",
         [](const QString&, const QString& target, int version) {
             AlbumFile::save(QDir(target).filePath(u"album.dat"_s), albumRows(version, 2000, 1000));
         }},
        {"exit",
         [](const QString&, const QString& target, int version) {
             Workspace workspace(target);
             ScriptedPrompts prompts;
             workspace.settings.setText(30, QString(100, QChar(u'A' + version)));
             for (int i = 0; i < 2000; ++i)
                 workspace.Bookmarks.add(u"/site/%1/folder %2"_s.arg(version).arg(i));
             Session::shutDown(workspace, prompts, version == 1);
         }},
        {"workbook",
         [](const QString&, const QString& target, int version) {
             Workbook book = Workbook::createBlank({u"S"_s});
             for (int r = 1; r <= 3000; ++r)
                 book.setText(r, 1, u"v%1 row %2 "_s.arg(version).arg(r) + QString(200, u'x'));
             book.save(QDir(target).filePath(u"book.xlsx"_s));
         }},
        {"copy",
         [](const QString& work, const QString& target, int version) {
             AlbumSheet sheet;
             const QList<AlbumRow> rows = photoRows(work, version);
             for (int i = 0; i < rows.size(); ++i) {
                 sheet.setText(i + 1, AlbumColumn::Path, rows[i].path);
                 sheet.setText(i + 1, AlbumColumn::Info, rows[i].info);
             }
             PhotoCopy::copyRows(sheet, 1, int(rows.size()), target, false, photoGuard(sheet.rows()));
         }},
        {"delivery",
         [](const QString& work, const QString& target, int version) {
             DeliveryRequest request;
             request.sheetRows = photoRows(work, version);
             request.folder = target;
             request.dtdPath = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates/PHOTO03.DTD"_s;
             DeliveryExport::run(request);
         }},
    };
    return all;
}

// Every file under folder, by relative path, with its bytes.
std::map<QString, QByteArray> contentsOf(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = readBytes(path);
    }
    return files;
}

// Workbooks carry the time they were zipped, so they are compared by what they hold.
std::map<QString, QByteArray> comparable(std::map<QString, QByteArray> files, const QString& folder) {
    for (auto& [name, bytes] : files)
        if (name.endsWith(u".xlsx"_s))
            bytes = Workbook::open(QDir(folder).filePath(name)).cellText(1, 1).toUtf8();
    return files;
}

// Each file of `now` equals the one of some version, and no file is missing or extra.
void expectOldOrNew(const std::string& writer, const std::map<QString, QByteArray>& now,
                    const std::array<std::map<QString, QByteArray>, 2>& versions, int kill) {
    ASSERT_EQ(now.size(), versions[0].size()) << writer << " after kill " << kill;
    for (const auto& [name, bytes] : now) {
        const bool known =
            versions[0].count(name) && (bytes == versions[0].at(name) || bytes == versions[1].at(name));
        EXPECT_TRUE(known) << writer << " after kill " << kill << ": " << name.toStdString()
                           << " is half written";
    }
}

} // namespace

// The child's side: writes the two versions in turn until it is killed.
TEST(CrashSafetyChild, WritesUntilKilled) {
    const std::string writer = qgetenv(WriterVariable).toStdString();
    if (writer.empty()) GTEST_SKIP() << "runs only as the child of CrashSafety";
    const QString work = qEnvironmentVariable(FolderVariable);
    const auto& write = writers().at(writer);
    fputs("ready\n", stdout);
    fflush(stdout);
    for (int i = 1;; ++i)
        write(work, QDir(work).filePath(u"target"_s), i % 2);
}

TEST(CrashSafety, EveryWriterLeavesOldOrCompleteFilesWhenKilled) {
    for (const auto& [writer, write] : writers()) {
        QTemporaryDir work;
        makeSources(work.path());
        // What each version looks like when written whole, from a run nobody kills.
        std::array<std::map<QString, QByteArray>, 2> versions;
        for (int version = 0; version < 2; ++version) {
            const QString reference = work.filePath(u"reference%1"_s.arg(version));
            QDir().mkpath(reference);
            write(work.path(), reference, version);
            versions[version] = comparable(contentsOf(reference), reference);
        }
        const QString target = work.filePath(u"target"_s);
        QDir().mkpath(target);
        write(work.path(), target, 0);

        for (int kill = 1; kill <= KillsPerWriter; ++kill) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(WriterVariable), QString::fromStdString(writer));
            environment.insert(QString::fromLatin1(FolderVariable), work.path());
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(),
                        {u"--gtest_filter=CrashSafetyChild.*"_s, u"--gtest_also_run_disabled_tests"_s});
            ASSERT_TRUE(child.waitForReadyRead(30000)) << writer;
            QThread::msleep(QRandomGenerator::global()->bounded(1, 60));
            child.kill(); // SIGKILL: no handler, no clean-up
            ASSERT_TRUE(child.waitForFinished(30000));
            ASSERT_NE(child.exitStatus(), QProcess::NormalExit)
                << writer << " ended by itself:\n"
                << child.readAllStandardOutput().toStdString();

            if (writer == "delivery")
                DeliveryExport::recoverInterrupted(target); // what the next run does first
            expectOldOrNew(writer, comparable(contentsOf(target), target), versions, kill);
            // Nothing half-made is left beside the output, not even an empty folder.
            EXPECT_EQ(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      QDir(work.filePath(u"reference0"_s))
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
                << writer << " after kill " << kill;
        }
    }
}
