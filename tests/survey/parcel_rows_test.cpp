#include "survey/parcel_rows.h"
#include "survey/sima_pm_file.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ParcelRows::BoundaryTexts;

namespace {

QList<SimaParcelPoint> boundary(const QString& sima, const QString& pm) {
    const PmFile file = parsePmFile(pm);
    return boundaryPoints(SimaReader::parse(sima), &file);
}

const QString Parcel12 = u"D00,1,1-2,1,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\nB01,3,ZTP3,\r\nB01,4,K4,\r\n"_s;

} // namespace

TEST(BoundaryRows, TwoRowsAPointWithMarkerLinesAndSuffixedPaths) {
    const BoundaryTexts texts{u"/photos/site/"_s, {}, u"現地確認"_s, u"_N"_s, u"_F"_s};
    const ParcelRows::Result result =
        ParcelRows::boundaryRows(boundary(Parcel12, u"ZT1,1\r\n"_s), texts, 1000);
    ASSERT_EQ(result.rows.size(), 4);
    EXPECT_EQ(result.rows[0].info, u"現地確認\r\nZT1\r\n有り\r\n国及県石杭・金属標\r\n1-2\r\n"_s);
    EXPECT_EQ(result.rows[2].info, u"現地確認\r\nZT2\r\n有り\r\n市石杭\r\n1-2\r\n"_s);
    EXPECT_TRUE(result.rows[1].info.isEmpty());
    EXPECT_TRUE(result.rows[3].info.isEmpty());
    EXPECT_EQ(result.rows[0].path, u"/photos/site/ZT1_N.jpg"_s);
    EXPECT_EQ(result.rows[1].path, u"/photos/site/ZT1_F.jpg"_s);
    EXPECT_EQ(result.rows[3].path, u"/photos/site/ZT2_F.jpg"_s);
    EXPECT_EQ(result.pointsLeftOut, 0);
    EXPECT_TRUE(result.capacityMessage().isEmpty());
    EXPECT_TRUE(result.warnings.isEmpty());
}

TEST(BoundaryRows, EveryMarkerCodeHasItsLines) {
    const QStringList kinds = {
        u"市石杭"_s,     u"国及県石杭・金属標"_s, u"市金属標"_s,           u"民間石杭"_s,
        u"民間金属標"_s, u"プラスチック"_s,       u"鋲・ペイント・刻み"_s, u"現況"_s};
    for (int code = 0; code <= 7; ++code) {
        EXPECT_EQ(ParcelRows::markerLines(code).kind, kinds[code]);
        EXPECT_EQ(ParcelRows::markerLines(code).witness, code <= 2 ? u"有り"_s : u"不明"_s);
    }
}

TEST(BoundaryRows, AnUnknownMarkerLeavesBothLinesEmptyAndWarns) {
    const QString sima = u"D00,1,A,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\nB01,3,ZT3,\r\n"_s;
    const ParcelRows::Result result = ParcelRows::boundaryRows(
        boundary(sima, u"ZT1,6\r\nZT2,8\r\nZT3,\r\n"_s), {u"C:\\p"_s, u"K"_s, u"x"_s, u"1"_s, u"2"_s}, 1000);
    EXPECT_EQ(result.rows[0].info, u"x\r\nZT1\r\n不明\r\n鋲・ペイント・刻み\r\nA\r\n"_s);
    EXPECT_EQ(result.rows[2].info, u"x\r\nZT2\r\n\r\n\r\nA\r\n"_s);
    EXPECT_EQ(result.rows[4].info, u"x\r\nZT3\r\n\r\n\r\nA\r\n"_s);
    ASSERT_EQ(result.warnings.size(), 2);
    EXPECT_TRUE(result.warnings[0].contains(u"ZT2"_s));
    EXPECT_TRUE(result.warnings[0].contains(u"3 行目"_s)) << result.warnings[0].toStdString();
    // A Windows folder without its closing separator still gets exactly one.
    EXPECT_EQ(result.rows[0].path, u"C:\\p\\KZT11.jpg"_s);
}

TEST(BoundaryRows, CapacityStopsTheImportAndCountsWhatWasLeftOut) {
    const QString three = u"D00,1,A,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\nB01,3,ZT3,\r\n"_s;
    const ParcelRows::Result full = ParcelRows::boundaryRows(boundary(three, {}), {}, 4);
    EXPECT_EQ(full.rows.size(), 4);
    EXPECT_EQ(full.pointsLeftOut, 1);
    EXPECT_EQ(full.capacityMessage(),
              u"最終行に達しましたのでインポートをここで終了します。\r\n取り込まれなかった点数：1"_s);
    // Two points fit four rows exactly: nothing is left out, so nothing is said.
    const ParcelRows::Result exact =
        ParcelRows::boundaryRows(boundary(u"D00,1,A,\r\nB01,1,ZT1,\r\nB01,2,ZT2,\r\n"_s, {}), {}, 4);
    EXPECT_EQ(exact.rows.size(), 4);
    EXPECT_EQ(exact.pointsLeftOut, 0);
    EXPECT_TRUE(exact.capacityMessage().isEmpty());
    // An odd capacity writes no half point: the last row stays empty and the point is counted.
    const ParcelRows::Result odd = ParcelRows::boundaryRows(boundary(three, {}), {}, 5);
    EXPECT_EQ(odd.rows.size(), 4);
    EXPECT_EQ(odd.pointsLeftOut, 1);
}

TEST(BoundaryRows, NamesThatAreNoFileNamesGetNoPath) {
    const QString sima =
        u"D00,1,A,\r\nB01,1,ZT..\\..\\x,\r\nB01,2,ZT/etc,\r\nB01,3,ZT:1,\r\nB01,4,ZT.ok,\r\n"_s;
    const ParcelRows::Result result =
        ParcelRows::boundaryRows(boundary(sima, {}), {u"/p"_s, {}, {}, {}, {}}, 1000);
    ASSERT_EQ(result.rows.size(), 8);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(result.rows[i].path.isEmpty()) << i;
    EXPECT_EQ(result.rows[6].path, u"/p/ZT.ok.jpg"_s);
    EXPECT_EQ(result.warnings.size(), 3);
    EXPECT_EQ(ParcelRows::photoPath(u"/p"_s, u".."_s), QString());
    EXPECT_EQ(ParcelRows::photoPath({}, u"a.jpg"_s), u"a.jpg"_s);
}

TEST(ParcelAlbumRows, OneRowAMemberOfTheChosenParcelsInListOrder) {
    const ParcelTables tables = parcelTables(SimaReader::parse(
        u"D00,1,A,\r\nB01,1,P1,\r\nB01,2,P2,\r\nB01,3,P3,\r\nD00,2,B,\r\nB01,4,P4,\r\nB01,5,P5,\r\nD00,3,C,\r\nB01,6,P1,\r\n"_s));
    const ParcelRows::Result result = ParcelRows::parcelRows(tables, {1, 3}, u"/f"_s, 1000);
    ASSERT_EQ(result.rows.size(), 4);
    EXPECT_EQ(result.rows[0].info, u"\r\nP1\r\n\r\n\r\nA\r\n"_s);
    EXPECT_EQ(result.rows[3].info, u"\r\nP1\r\n\r\n\r\nC\r\n"_s);
    EXPECT_EQ(result.rows[2].path, u"/f/P3.jpg"_s);
    EXPECT_EQ(result.pointsLeftOut, 0);

    const ParcelRows::Result cut = ParcelRows::parcelRows(tables, {1, 2, 3}, u"/f"_s, 4);
    EXPECT_EQ(cut.rows.size(), 4);
    EXPECT_EQ(cut.pointsLeftOut, 2);
    EXPECT_EQ(ParcelRows::parcelRows(tables, {1, 2}, u"/f"_s, 5).pointsLeftOut, 0);
}
