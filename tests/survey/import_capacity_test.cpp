#include "album/album_file.h"
#include "classified_fixture.h"
#include "support/batch_run.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/classified_commands.h"
#include "survey/classified_csv.h"
#include "survey/import_capacity.h"
#include "survey/parcel_import.h"
#include "survey/sima_pm_file.h"
#include "workspace/workspace.h"

using namespace Qt::StringLiterals;

namespace {

// Five rows for three points (or list lines) of two rows each: the third fits only in half.
class ImportCapacityTest : public ClassifiedFixture {
protected:
    void SetUp() override {
        workspace.settings = Settings::defaults();
        workspace.AlbumMaxRows = 5;
        writeBytes(program.filePath(u"tovenla.ini"_s), " 5 \r\n");
    }
    // The album holds exactly the rows written: nothing of a third point on row 5.
    void expectFourRows(const QList<AlbumRow>& rows) {
        ASSERT_EQ(rows.size(), 4);
        EXPECT_FALSE(rows[2].info.isEmpty());
        EXPECT_TRUE(rows[3].info.isEmpty());
        EXPECT_FALSE(rows[3].path.isEmpty());
    }
    int run(const QStringList& arguments) { return runCommand(arguments, program.path(), output, errors); }

    const QString sima = path(u"three.sim"_s);
    const QString csv = writeCsv({line(u"1"_s, u"A"_s, u"SA"_s, u"n1.jpg"_s, u"f1.jpg"_s),
                                  line(u"2"_s, u"A"_s, u"SA"_s, u"n2.jpg"_s, u"f2.jpg"_s),
                                  line(u"3"_s, u"A"_s, u"SA"_s, u"n3.jpg"_s, u"f3.jpg"_s)});
    QTemporaryDir program;
    Workspace workspace{program.path()};
    ScriptedPrompts prompts;
    QString output;
    QString errors;
};

} // namespace

TEST_F(ImportCapacityTest, CountsAndMessagesSayWhatWasWritten) {
    writeBytes(sima, "D00,1,A,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\nB01,3,ZT3,\r\n");
    const QString expected =
        u"最終行に達しましたのでインポートをここで終了します。\r\n取り込まれなかった点数：1"_s;
    EXPECT_EQ(ImportCapacity::message(1), expected);

    ASSERT_TRUE(ParcelImport::importBoundaryPoints(workspace, prompts, LoadBoundaryPoints(sima, nullptr),
                                                   ParcelImport::boundaryTextsFromSettings(workspace)));
    expectFourRows(workspace.SS1.rows());
    EXPECT_EQ(workspace.AlbumRowCount, 4);
    EXPECT_EQ(prompts.lastMessage().text, expected);

    ClassifiedData data = readClassifiedCsv(csv, ClassifiedKey::MapName);
    ASSERT_TRUE(ClassifiedCommands::Import(data, workspace, prompts, {{1, 1}}));
    expectFourRows(workspace.SS1.rows());
    EXPECT_EQ(prompts.lastMessage().text, expected);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);

    // One row a point: five of six points fit.
    const ParcelTables six = parcelTables(
        SimaReader::parse(u"D00,1,A,\r\nB01,1,P1,\r\nB01,2,P2,\r\nB01,3,P3,\r\nB01,4,P4,\r\nB01,5,P5,\r\n"
                          u"B01,6,P6,\r\n"_s));
    ASSERT_TRUE(ParcelImport::importParcels(workspace, prompts, six, {1}, u"/f"_s));
    EXPECT_EQ(workspace.AlbumRowCount, 5);
    EXPECT_EQ(prompts.lastMessage().text, expected);

    // The command line says the same, with the counts of what the album file holds.
    const QString album = path(u"album.dat"_s);
    const QString note =
        u"最終行に達しましたのでインポートをここで終了します。\n取り込まれなかった点数：1（アルバムの容量 5 行）\n"_s;
    EXPECT_EQ(run({u"import-parcels"_s, sima, album}), 3);
    expectFourRows(AlbumFile::load(album, 1000));
    EXPECT_TRUE(output.contains(u"4 行（境界点 2 点）"_s)) << output.toStdString();
    EXPECT_EQ(errors, note);
    EXPECT_EQ(run({u"import-classified"_s, csv, album, u"--groups"_s, u"all"_s}), 3);
    expectFourRows(AlbumFile::load(album, 1000));
    EXPECT_TRUE(output.contains(u"2 件、4 行"_s)) << output.toStdString();
    EXPECT_EQ(errors, note);
}
