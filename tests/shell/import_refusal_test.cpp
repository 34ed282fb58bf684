#include "album/album_commands.h"
#include "album/album_file.h"
#include "base/ansi_codec.h"
#include "base/sheet_file.h"
#include "support/batch_run.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/classified_commands.h"
#include "survey/sima_reader.h"
#include "survey/ui/classified_import_dialog.h"
#include "survey/ui/parcel_import_dialog.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// What a wrong file or a broken download gives: NULs and bytes of no encoding.
QByteArray randomBytes() {
    QRandomGenerator generator(19);
    QByteArray bytes(3000, '\0');
    for (char& byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// The line of the first NUL, counted as the readers count lines.
int firstNulLine(const QByteArray& bytes) {
    const char lineEnd = bytes.contains('\n') ? '\n' : '\r';
    return int(bytes.left(bytes.indexOf('\0')).count(lineEnd)) + 1;
}

bool namesLine(const QString& message, int line) {
    return message.contains(QRegularExpression(u"行 (\\d+, )*%1(\\D|$)"_s.arg(line)));
}

class ImportRefusalTest : public testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) {
        writeBytes(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    int run(const QStringList& arguments) { return runCommand(arguments, program.path(), output, errors); }

    QTemporaryDir dir;
    QTemporaryDir program;
    QString album = dir.filePath(u"album.dat"_s);
    QString output;
    QString errors;
    const QByteArray garbageBytes = randomBytes();
    const QString garbage = file(u"garbage.csv"_s, garbageBytes);
    // A UTF-8 list with one line pasted from a CP932 one: line 4.
    const QString mixed =
        file(u"mixed.csv"_s, u"見出し,1,2\r\n近景,A,P1.JPG\r\n遠景,B,P2.JPG\r\n"_s.toUtf8() +
                                 cp932(u"境界,C,P3.JPG\r\n"_s) + u"全景,D,P4.JPG\r\n"_s.toUtf8());
    const QString sima = file(u"site.sim"_s, cp932(u"D00,1,1-2,1,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\n"_s));
    const QString badSima = file(u"bad.sim"_s, "D00,1,1-2,1,\r\nB01,1,ZT1,\r\nB01,2,ZT\x82\xFF,\r\n");
    const QString nulPm = file(u"pm.csv"_s, QByteArray("ZT1,1\r\nZT2\0,2\r\n", 15));
};

} // namespace

// Every command that builds an album from a file refuses one that is not text, names the file
// and its lines, and leaves the album file as it was.
TEST_F(ImportRefusalTest, CommandLineImportsRefuseWhatIsNotTextAndKeepTheAlbum) {
    const QString crew = file(
        u"crew.csv"_s,
        cp932(u"図番,大字,公図名,シート,地番,備考,近景,遠景,標示\r\n1,字1,A,S,-1,備考,n.jpg,f.jpg,1\r\n"_s));
    ASSERT_EQ(run({u"classified-groups"_s, crew, u"--save"_s, dir.filePath(u"pair.spd"_s)}), 0)
        << errors.toStdString();
    // As saved before import files carried their companion's text: the companion is read.
    SheetContent pair = SheetFile::load(dir.filePath(u"pair.spd"_s));
    pair.companionText.clear();
    SheetFile::save(dir.filePath(u"pair.spd"_s), pair);
    const QString companion = dir.filePath(u"pair.sp2"_s);
    QByteArray companionBytes = readBytes(companion);
    writeBytes(companion, companionBytes.insert(companionBytes.indexOf("\r\n\"1\"") + 3, '\0'));

    const int garbageLine = firstNulLine(garbageBytes);
    const QString nul = u"NUL 文字"_s, unreadable = u"読み取れない文字"_s,
                  mixedLines = u"文字コードが違います"_s;
    const struct {
        QStringList arguments;
        QString badFile;
        int line;
        QString reason;
    } cases[] = {
        {{u"import-csv"_s, garbage, album}, garbage, garbageLine, nul},
        {{u"import-csv"_s, mixed, album}, mixed, 4, mixedLines},
        {{u"import-classified"_s, garbage, album, u"--groups"_s, u"all"_s}, garbage, garbageLine, nul},
        {{u"import-classified"_s, mixed, album, u"--groups"_s, u"all"_s}, mixed, 4, mixedLines},
        {{u"import-classified"_s, dir.filePath(u"pair.spd"_s), album, u"--groups"_s, u"all"_s},
         companion,
         3,
         nul},
        {{u"import-parcels"_s, badSima, album}, badSima, 3, unreadable},
        {{u"import-parcels"_s, sima, album, u"--pm"_s, nulPm}, nulPm, 2, nul},
        {{u"parcel-album"_s, badSima, album, u"--parcels"_s, u"all"_s}, badSima, 3, unreadable},
    };
    AlbumFile::save(album, {AlbumRow{{}, u"残す\r\n"_s, {}, u"/photos/keep.jpg"_s}});
    const QByteArray before = readBytes(album);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        EXPECT_EQ(run(c.arguments), 1);
        EXPECT_TRUE(errors.startsWith(AnsiCodec::ImportRefusedHeadline + u'\n' +
                                      QDir::toNativeSeparators(c.badFile) + u'\n'))
            << errors.toStdString();
        EXPECT_TRUE(namesLine(errors, c.line)) << errors.toStdString();
        EXPECT_TRUE(errors.contains(c.reason)) << errors.toStdString();
        EXPECT_EQ(readBytes(album), before);
    }
}

// Lists in either encoding still import: CP932 with half-width kana (often valid UTF-8 too),
// UTF-8 with its mark, and UTF-8 without it whose Japanese also happens to be valid CP932.
TEST_F(ImportRefusalTest, TextListsInEitherEncodingStillImport) {
    const QString text = u"見出し\r\n近景,写真,P1.JPG\r\n"_s;
    QStringDecoder cp932Decoder("windows-31j");
    cp932Decoder.decode(text.toUtf8());
    ASSERT_FALSE(cp932Decoder.hasError()) << "the UTF-8 case needs bytes that are valid CP932 too";
    const struct {
        QByteArray bytes;
        QString info;
    } cases[] = {
        {"h\r\n1,\xCB\xB6\xDE\xBC,P1.JPG\r\n", u"1\r\nﾋｶﾞｼ\r\n"_s},
        {cp932(text), u"近景\r\n写真\r\n"_s},
        {"\xEF\xBB\xBF" + text.toUtf8(), u"近景\r\n写真\r\n"_s},
        {text.toUtf8(), u"近景\r\n写真\r\n"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        ASSERT_EQ(run({u"import-csv"_s, file(u"list.csv"_s, c.bytes), album}), 0) << errors.toStdString();
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
        const QList<AlbumRow> rows = AlbumFile::load(album, 100);
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(rows[0].info, c.info);
        EXPECT_EQ(rows[0].path, QDir::toNativeSeparators(dir.filePath(u"P1.JPG"_s)));
    }
}

// The windows refuse the same files with a message naming them; the sheet stays as it was and
// nothing is added to undo.
TEST_F(ImportRefusalTest, WindowImportsRefuseWhatIsNotTextAndKeepTheSheet) {
    Workspace workspace(program.path());
    workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(0));
    workspace.replaceRows(u"before"_s, {AlbumRow{{}, u"残す\r\n"_s, {}, u"/photos/keep.jpg"_s}}, 0);
    const QList<AlbumRow> rows = workspace.SS1.rows();
    const int undoSteps = workspace.undoStack.count();
    ScriptedPrompts prompts;
    const auto expectRefused = [&](const QString& badFile, int line) {
        ASSERT_FALSE(prompts.messages.isEmpty());
        const Prompts::Message& message = prompts.messages.constLast().message;
        EXPECT_EQ(message.title, u"エラー"_s);
        EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(badFile))) << message.text.toStdString();
        EXPECT_TRUE(namesLine(message.text, line)) << message.text.toStdString();
        EXPECT_EQ(workspace.SS1.rows(), rows);
        EXPECT_EQ(workspace.SheetModified, 0);
        EXPECT_EQ(workspace.undoStack.count(), undoSteps);
    };

    prompts.openPaths = {mixed};
    EXPECT_FALSE(AlbumCommands::ImportCsvList(workspace, prompts));
    expectRefused(mixed, 4);

    DialogImp classified(workspace, prompts);
    prompts.openPaths = {garbage};
    classified.findChild<QPushButton*>(u"Command1"_s)->click();
    expectRefused(garbage, firstNulLine(garbageBytes));
    EXPECT_EQ(classified.findChild<QTableWidget*>(u"SSImp"_s)->rowCount(), 0);
    classified.findChild<QPushButton*>(u"OKButton"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::NoLinesToUse);
    EXPECT_EQ(workspace.SS1.rows(), rows);

    DialogSIMA parcels(workspace, prompts);
    prompts.openPaths = {nulPm};
    parcels.findChild<QPushButton*>(u"Command1"_s)->click();
    expectRefused(nulPm, 2);
    prompts.openPaths = {file(u"good_pm.csv"_s, "ZT1,1\r\n"), badSima};
    parcels.findChild<QPushButton*>(u"Command1"_s)->click();
    expectRefused(badSima, 3);
    parcels.findChild<QPushButton*>(u"OKButton"_s)->click();
    EXPECT_EQ(prompts.lastMessage().text, SimaReader::NoParcelsLoaded);
    EXPECT_EQ(workspace.SS1.rows(), rows);
}
