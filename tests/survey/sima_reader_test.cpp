#include "base/app_error.h"
#include "support/test_files.h"
#include "survey/sima_pm_file.h"
#include "survey/sima_reader.h"
#include "test_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class SimaReaderTest : public testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes) {
        writeBytes(dir.filePath(name), bytes);
        return dir.filePath(name);
    }
    QTemporaryDir dir;
};

QStringList names(const QList<SimaParcelPoint>& points) {
    QStringList result;
    for (const SimaParcelPoint& p : points)
        result << p.PointName;
    return result;
}

} // namespace

TEST(SimaNumbers, LeadingNumberTakesTheLongestPrefix) {
    EXPECT_DOUBLE_EQ(leadingNumber(u"   -23795.960"), -23795.96);
    EXPECT_DOUBLE_EQ(leadingNumber(u"100.5abc"), 100.5);
    EXPECT_DOUBLE_EQ(leadingNumber(u"+.5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber(u"1.5e2,"), 150);
    EXPECT_DOUBLE_EQ(leadingNumber(u"7e"), 7);
    EXPECT_DOUBLE_EQ(leadingNumber(u"abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(u""), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(u"-"), 0);
}

TEST(SimaParse, RecordsAreReadByTheirExactCodeWithAnyLineEnd) {
    for (const QString& end : {u"\r\n"_s, u"\n"_s, u"\r"_s}) {
        const QString text = u"G00,01,,"_s + end + u"A01,1,P1,100.5,-20.25,3.1"_s + end +
                             u"A01 ,2,P2,1,2,3"_s + end + u" A01,3,P3,1,2,3"_s + end + u"a01,4,P4,1,2,3"_s +
                             end + u"A011,5,P5,1,2"_s + end + u"A01,6,P6,  1.5,  2.5,,"_s + end +
                             u"A01,7,P7"_s;
        const SimaFile file = SimaReader::parse(text);
        ASSERT_EQ(file.points.size(), 3) << end.toStdString();
        EXPECT_EQ(file.points[0].Name, u"P1"_s);
        EXPECT_DOUBLE_EQ(file.points[0].X, 100.5);
        EXPECT_DOUBLE_EQ(file.points[0].Y, -20.25);
        EXPECT_DOUBLE_EQ(file.points[0].H, 3.1);
        EXPECT_TRUE(file.points[0].HasHeight);
        EXPECT_EQ(file.points[0].line, 2);
        EXPECT_FALSE(file.points[1].HasHeight);
        EXPECT_DOUBLE_EQ(file.points[1].X, 1.5);
        // A record cut short reads as empty fields.
        EXPECT_EQ(file.points[2].Name, u"P7"_s);
        EXPECT_DOUBLE_EQ(file.points[2].X, 0);
        EXPECT_FALSE(file.points[2].HasHeight);
        EXPECT_EQ(file.points[2].line, 8);
    }
}

TEST(SimaParse, ParcelsOwnTheMembersAfterTheirHeader) {
    const SimaFile file = SimaReader::parse(u"B01,0,ORPHAN,\r\nD00,1,A  ,1,\r\nB01,1,ZT01 "
                                            u",\r\nC03,4.5,299,\r\nB01,2,ZTP5,\r\nB01,3,K12,\r\nD99,\r\n"
                                            u"D00,2,B,1,\r\nB01,4,ZT02,\r\nB01, 5,Auto-1,           "
                                            u"\r\nD00,3,B,1,\r\nD00,4,EMPTY,\r\nD00,5,B,\r\n"
                                            u"B01,6,ZT03\r\nD99,\r\nEND,\r\n"_s);
    ASSERT_EQ(file.parcels.size(), 5);
    ASSERT_EQ(file.members.size(), 7);
    EXPECT_EQ(file.members[0].ParcelName, QString());
    EXPECT_EQ(file.parcels[0].Name, u"A"_s);
    EXPECT_EQ(file.parcels[0].FirstPoint, 2);
    EXPECT_EQ(file.parcels[0].LastPoint, 4);
    EXPECT_EQ(file.members[1].PointName, u"ZT01"_s);
    EXPECT_EQ(file.members[1].ParcelName, u"A"_s);
    EXPECT_EQ(file.parcels[1].FirstPoint, 5);
    EXPECT_EQ(file.parcels[1].LastPoint, 6);
    EXPECT_EQ(file.members[5].PointName, u"Auto-1"_s);
    // A repeated name starts a parcel of its own; no parcel is left open.
    EXPECT_EQ(file.parcels[2].Name, u"B"_s);
    EXPECT_EQ(file.parcels[2].pointCount(), 0);
    EXPECT_EQ(file.parcels[3].pointCount(), 0);
    EXPECT_EQ(file.parcels[4].FirstPoint, 7);
    EXPECT_EQ(file.parcels[4].LastPoint, 7);
    EXPECT_FALSE(parcelTables(file).listsNoPoint());
    EXPECT_TRUE(parcelTables(SimaReader::parse(u"B01,1,ZT1,\r\n"_s)).listsNoPoint());
    EXPECT_TRUE(parcelTables(SimaReader::parse(u"D00,1,A,\r\nD99,\r\n"_s)).listsNoPoint());
}

TEST(SimaLookup, WholeRightTrimmedNamesAndTheFirstOfDuplicates) {
    const QString longName = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ-1"_s; // longer than 25
    const SimaPoints points =
        indexPoints(SimaReader::parse(u"A01,1,ZT01   ,1,1,\nA01,2, ZT02,2,2,\nA01,3,"_s + longName +
                                      u",3,3,\nA01,4,ZT01,4,4,\nA01,5,ABCDEFGHIJKLMNOPQRSTUVWXYZ-2,5,5,\n"_s)
                        .points);
    EXPECT_EQ(FindPointByName(points.index, u"ZT01"_s), 1);
    EXPECT_EQ(FindPointByName(points.index, u"ZT01    "_s), 1);
    EXPECT_EQ(FindPointByName(points.index, u" ZT02"_s), 2);
    EXPECT_EQ(FindPointByName(points.index, u"ZT02"_s), std::nullopt);
    EXPECT_EQ(FindPointByName(points.index, longName), 3);
    EXPECT_EQ(FindPointByName(points.index, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ-2"_s), 5);
    EXPECT_EQ(FindPointByName(points.index, u"ABCDEFGHIJKLMNOPQRSTUVWXY"_s), std::nullopt);
    EXPECT_EQ(points.points[0].Name, u"ZT01   "_s);
}

TEST(SimaPm, EveryLineIsAnEntryAndCodesAreNumbers) {
    const PmFile pm = parsePmFile(
        u"点名,標識\r\nZT01   ,1\r\n\r\n ZT02,2\r\nZT03,1.0\r\nZT01,5\r\nZT04,9\r\nZT05,\r\nZT06,x\r\n"_s);
    EXPECT_EQ(pm.names.size(), 9);
    EXPECT_EQ(FindPointByName(pm.index, u"ZT01"_s), 2);
    EXPECT_EQ(FindPointByName(pm.index, u"ZT02"_s), std::nullopt);
    EXPECT_EQ(markerNumber(u"1.0"_s), 1);
    EXPECT_EQ(markerNumber(u" 7 "_s), 7);
    EXPECT_EQ(markerNumber(u"9"_s), std::nullopt);
    EXPECT_EQ(markerNumber(u"1.5"_s), std::nullopt);
    EXPECT_EQ(markerNumber(QString()), std::nullopt);
    EXPECT_EQ(markerNumber(u"x"_s), std::nullopt);

    const SimaFile sima =
        SimaReader::parse(u"D00,1,1-2,\r\nB01,1,ZT01 ,\r\nB01,2,ZTP3,\r\nB01,3,K4,\r\nB01,4,ZT03,\r\n"
                          u"B01,5,ZT09,\r\nB01,6,ZT,\r\nB01,7,zt1,\r\n"_s);
    const QList<SimaParcelPoint> points = boundaryPoints(sima, &pm);
    EXPECT_EQ(names(points), (QStringList{u"ZT01"_s, u"ZT03"_s, u"ZT09"_s, u"ZT"_s}));
    EXPECT_EQ(points[0].MarkerCode, u"1"_s);
    EXPECT_EQ(points[0].ParcelName, u"1-2"_s);
    EXPECT_EQ(points[1].MarkerCode, u"1.0"_s);
    EXPECT_EQ(points[2].MarkerCode, u"0"_s);
    EXPECT_EQ(boundaryPoints(sima, nullptr)[0].MarkerCode, u"0"_s);
}

TEST_F(SimaReaderTest, FilesInCp932OrUtf8ReadTheSame) {
    const QString text =
        u"A01,1,ｻｲ-3441             ,-1.5,2.5,,\r\nD00,1,境界１,1,\r\nB01,1,ｻｲ-3441             ,\r\n"_s;
    for (const QByteArray& bytes :
         QList<QByteArray>{cp932(text), text.toUtf8(), "\xEF\xBB\xBF" + text.toUtf8()}) {
        const SimaFile file = SimaReader::read(this->file(u"a.sim"_s, bytes));
        ASSERT_EQ(file.points.size(), 1);
        EXPECT_EQ(rightTrimmed(file.points[0].Name).toString(), u"ｻｲ-3441"_s);
        ASSERT_EQ(file.parcels.size(), 1);
        EXPECT_EQ(file.parcels[0].Name, u"境界１"_s);
        EXPECT_EQ(file.members[0].PointName, u"ｻｲ-3441"_s);
    }
}

TEST_F(SimaReaderTest, UnreadableFilesNameTheFileAndLine) {
    const QString bad = file(u"bad.sim"_s, "A01,1,P1,1,2,\r\nA01,2,P\x82\xFF,1,2,\r\n");
    try {
        SimaReader::read(bad);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(bad))) << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(u"行 2"_s)) << error.message().toStdString();
    }
    EXPECT_THROW(LoadParcels(dir.filePath(u"missing.sim"_s)), AppError);
    EXPECT_THROW(LoadPmFile(dir.path()), AppError);
}

// Which lines may make a file unreadable: only those the reader uses.
TEST_F(SimaReaderTest, OnlyLinesTheReaderUsesCanMakeAFileUnreadable) {
    const QByteArray parcel = cp932(u"D00,1,北１,1,\r\nB01,1,ZT1,\r\n"_s);
    const QByteArray utf8Parcels =
        u"D00,1,北１,1,\r\nB01,1,ZT1,\r\nD00,2,南２,1,\r\nB01,2,ZT2,\r\n"_s.toUtf8();
    // Z00 cut at a fixed byte width through "座" (0x8DC0 in CP932, E5BAA7 in UTF-8).
    const QByteArray cutCp932 = "Z00,\x8D\r\n";
    const QByteArray cutUtf8 = "Z00,\xE5\xBA\r\n";
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList parcels;  // read: the parcel names
        QString refusedLines; // refused: the lines named, as the message lists them
    };
    const QList<Case> cases = {
        {"split character in G00", "G00,01,\x82,\r\n" + parcel, {u"北１"_s}, {}},
        {"Z00 cut in CP932", cutCp932 + parcel + cutCp932, {u"北１"_s}, {}},
        {"NUL in a skipped line", QByteArray("Z00,\0\r\n", 7) + parcel, {u"北１"_s}, {}},
        {"UTF-8 with more cut lines than Japanese ones",
         cutUtf8 + cutUtf8 + cutUtf8 + utf8Parcels,
         {u"北１"_s, u"南２"_s},
         {}},
        {"UTF-8 header over CP932 records", u"G00,01,現場,\r\n"_s.toUtf8() + parcel, {u"北１"_s}, {}},
        {"split character in D00", cp932(u"G00,01,\r\nD00,1,北"_s) + "\x82\r\nB01,1,ZT1,\r\n", {}, u"2"_s},
        {"NUL in A01", QByteArray("A01,1,P\0,1,2,\r\n", 15) + parcel, {}, u"1"_s},
        {"UTF-8 with one CP932 record",
         u"G00,01,現場名,\r\nZ00,座標データ,\r\n"_s.toUtf8() + utf8Parcels + cp932(u"B01,3,ZT３,\r\n"_s),
         {},
         u"7"_s},
        {"UTF-16",
         QByteArray("\xFF\xFE") +
             QByteArray(reinterpret_cast<const char*>(u"D00,1,A,\r\nB01,1,ZT1,\r\n"), 44),
         {},
         u"1, 2, 3"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = file(u"case.sim"_s, c.bytes);
        if (c.refusedLines.isEmpty()) {
            QStringList parcels;
            for (const SimaParcel& p : SimaReader::read(path).parcels)
                parcels << p.Name;
            EXPECT_EQ(parcels, c.parcels);
            EXPECT_EQ(LoadBoundaryPoints(path, nullptr).size(), c.parcels.size());
            continue;
        }
        try {
            SimaReader::read(path);
            ADD_FAILURE() << "read";
        } catch (const AppError& error) {
            static const QRegularExpression listed(u"行 ([0-9, ]+)"_s);
            QStringList lines;
            for (const QRegularExpressionMatch& m : listed.globalMatch(error.message()))
                lines << m.captured(1);
            EXPECT_EQ(lines, QStringList{c.refusedLines}) << error.message().toStdString();
        }
    }
}

// Extra check on real files from other programs, kept beside the project when available.
TEST(SimaSharedFiles, RealFilesReadAsTheirReadmeCounts) {
    const QString folder = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/../shared/data/sima"_s;
    if (!QFileInfo(folder).isDir()) GTEST_SKIP() << "shared SIMA files not present";
    struct Expected {
        const char16_t* name;
        int points, parcels, members;
    };
    for (const Expected& e : {Expected{u"dxf4segmentation_plygon.sim", 10, 1, 10},
                              Expected{u"kmr_sima2geojson_fixture_plain.sim", 26, 3, 31},
                              Expected{u"kmr_sima2geojson_fixture_padded.sim", 26, 3, 31},
                              Expected{u"kyokai_parcel3_subset.sim", 159, 1, 159}}) {
        const QString path = folder + u'/' + QString::fromUtf16(e.name);
        const SimaFile file = SimaReader::read(path);
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(file.points.size(), e.points);
        EXPECT_EQ(file.parcels.size(), e.parcels);
        EXPECT_EQ(file.members.size(), e.members);
        const SimaPoints points = indexPoints(file.points);
        // Every member is a point of the file, found by its trimmed name.
        for (const SimaParcelPoint& member : file.members)
            EXPECT_TRUE(FindPointByName(points.index, member.PointName)) << member.PointName.toStdString();
        for (const SimaParcelPoint& member : file.members)
            EXPECT_FALSE(member.PointName.contains(QChar(0xFFFD)));
    }
    const SimaFile plain = SimaReader::read(folder + u"/kmr_sima2geojson_fixture_plain.sim"_s);
    const SimaFile padded = SimaReader::read(folder + u"/kmr_sima2geojson_fixture_padded.sim"_s);
    for (qsizetype i = 0; i < plain.members.size(); ++i) {
        EXPECT_EQ(plain.members[i].PointName, padded.members[i].PointName);
        EXPECT_EQ(plain.members[i].ParcelName, padded.members[i].ParcelName);
    }
    const SimaFile kyokai = SimaReader::read(folder + u"/kyokai_parcel3_subset.sim"_s);
    EXPECT_EQ(kyokai.parcels[0].Name, u"加津佐西部圃場整備"_s);
    EXPECT_FALSE(kyokai.points[1].HasHeight);
    EXPECT_EQ(rightTrimmed(kyokai.points[1].Name).toString(), u"ｾｲ-3441"_s);
    const SimaFile lf = SimaReader::read(folder + u"/dxf4segmentation_plygon.sim"_s);
    EXPECT_DOUBLE_EQ(lf.points[9].X, 13.099);
    EXPECT_DOUBLE_EQ(lf.points[9].Y, 7.114);
    EXPECT_EQ(lf.parcels[0].Name, u"plygon"_s);
}
