#include "classified_fixture.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/classified_commands.h"
#include "survey/classified_csv.h"
#include "survey/classified_import.h"
#include "survey/parcel_rows.h"
#include "survey/real_estate_report.h"
#include "survey/sima_pm_file.h"

#include <QDir>

using namespace Qt::StringLiterals;

// Lists and survey files written on Windows name photos in any letter case, and Windows opens
// them: the imports name the file that is there, when only one matches.
using PhotoNamesTest = ClassifiedFixture;

TEST_F(PhotoNamesTest, ImportsNameTheFileThatDiffersOnlyInLetterCase) {
    touch(u"写真/P002_近.jpg"_s);
    touch(u"f2.jpg"_s);
    touch(u"F2.JPG"_s); // two alike: which one was meant cannot be told
    const ClassifiedData data =
        readClassifiedCsv(writeCsv({line(u"1"_s, u"A"_s, u"S"_s, u"写真\\P002_近.JPG"_s, u"f2.Jpg"_s)}),
                          ClassifiedKey::MapName);
    ScriptedPrompts prompts;
    ClassifiedCommands::Check(data, prompts);
    EXPECT_TRUE(readBytes(path(u"CHKErr.log"_s)).contains("f2.Jpg"));
    EXPECT_FALSE(readBytes(path(u"CHKErr.log"_s)).contains("P002"));
    ClassifiedData imported = data;
    const ClassifiedImport::Result result = ClassifiedImport::build(imported, {{1, 1}}, 1000);
    ASSERT_EQ(result.rows.size(), 2);
    EXPECT_EQ(result.rows[0].path, folder() + u"写真"_s + QDir::separator() + u"P002_近.jpg"_s);
    EXPECT_EQ(result.rows[1].path, folder() + u"f2.Jpg"_s);

    // SIMA-made names: near and far photos of the import, the parcel list and the report.
    touch(u"zt1_n.JPG"_s);
    touch(u"ZT1.JPG"_s);
    const SimaFile sima = SimaReader::parse(u"D00,1,A,\r\nB01,1,ZT1,\r\n"_s);
    const ParcelRows::Result boundary =
        ParcelRows::boundaryRows(boundaryPoints(sima, nullptr), {dir.path(), {}, {}, u"_N"_s, u"_F"_s}, 1000);
    ASSERT_EQ(boundary.rows.size(), 2);
    EXPECT_EQ(boundary.rows[0].path, path(u"zt1_n.JPG"_s));
    EXPECT_EQ(boundary.rows[1].path, path(u"ZT1_F.jpg"_s)); // not there (yet): as the rule names it
    const ParcelRows::Result list = ParcelRows::parcelRows(parcelTables(sima), {1}, dir.path(), 1000);
    EXPECT_EQ(list.rows.at(0).path, path(u"ZT1.JPG"_s));
    RealEstateReport::Request report;
    report.folder = dir.path();
    EXPECT_EQ(RealEstateReport::photosOfPoint(report, u"ZT1"_s), QStringList{path(u"ZT1.JPG"_s)});
}
