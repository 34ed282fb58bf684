#include "base/ansi_codec.h"
#include "delivery/delivery_export.h"
#include "delivery/folder_check.h"
#include "delivery/photo_header.h"
#include "delivery/shot_date.h"
#include "delivery_fixture.h"
#include "support/test_files.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// Lines 1..19 with title, main class, date (13) and work class set; flags appended when given.
QStringList info(const QString& date, const QString& representative = {}, const QString& frequency = {}) {
    QStringList lines(19);
    lines[9] = u"床掘完了"_s;
    lines[11] = u"工事"_s;
    lines[12] = date;
    lines[13] = u"施工状況写真"_s;
    if (!representative.isEmpty() || !frequency.isEmpty()) lines << representative << frequency;
    return lines;
}

QString element(const QString& xml, const QString& name, int occurrence) {
    const QString open = u'<' + name + u'>';
    qsizetype at = -1;
    for (int i = 0; i <= occurrence; ++i)
        at = xml.indexOf(open, at + 1);
    if (at < 0) return u"(none)"_s;
    at += open.size();
    return xml.mid(at, xml.indexOf(u'<', at) - at);
}

} // namespace

class Delivery05Test : public DeliveryFolder {
protected:
    DeliveryResult run(QList<AlbumRow> rows, const QString& frequencyDefault = {}) {
        DeliveryRequest request;
        request.sheetRows = std::move(rows);
        request.folder = out.path();
        request.dtdPath = shippedDtd05();
        request.version = PhotoStandard::Version::V05;
        request.frequencyDefault = frequencyDefault;
        return DeliveryExport::run(request);
    }
    QList<Finding> refusal(QList<AlbumRow> rows) {
        try {
            run(std::move(rows));
        } catch (const DeliveryRefused& refused) {
            return refused.findings();
        }
        ADD_FAILURE() << "the export was not refused";
        return {};
    }
    QString xmlText() const { return AnsiCodec::decode(readBytes(photoFolder() + u"/PHOTO.XML"_s)).text; }
};

TEST_F(Delivery05Test, WritesTheCurrentIndexThatPassesOurCheckAndBothDtds) {
    run({photoRow(jpeg(u"a.jpg"_s, {1600, 1200}, u"2024:06:01 09:00:00"_s),
                  info(u"2024-06-01"_s, u"1"_s, u"0"_s)),
         photoRow(jpeg(u"b.jpg"_s), info(u"2024/6/2"_s))},
        u"1"_s);
    EXPECT_EQ(QDir(photoFolder()).entryList(QDir::Files, QDir::Name),
              (QStringList{u"PHOTO.XML"_s, u"PHOTO05.DTD"_s}));
    const QString xml = xmlText();
    const QStringList lines = xml.split(u"\r\n"_s);
    EXPECT_EQ(lines.at(1), u"<!DOCTYPE photodata SYSTEM \"PHOTO05.DTD\">"_s);
    EXPECT_EQ(lines.at(2), u"<photodata DTD_version=\"05\">"_s);
    EXPECT_EQ(lines.at(6), u"<適用要領基準>土木202303-01</適用要領基準>"_s);
    // One block: 25 lines, the flags right after 撮影情報.
    EXPECT_EQ(lines.at(8), u"<写真情報>"_s);
    EXPECT_EQ(lines.at(8 + 24), u"</写真情報>"_s);
    EXPECT_EQ(lines.at(8 + 19), u"</撮影情報>"_s);
    EXPECT_EQ(lines.at(8 + 20), u"<代表写真>1</代表写真>"_s);
    EXPECT_EQ(lines.at(8 + 21), u"<提出頻度写真>0</提出頻度写真>"_s);
    // Unset flags: 代表写真 0, 提出頻度写真 the chosen default.
    EXPECT_EQ(element(xml, u"代表写真"_s, 1), u"0"_s);
    EXPECT_EQ(element(xml, u"提出頻度写真"_s, 1), u"1"_s);
    EXPECT_EQ(element(xml, u"撮影年月日"_s, 1), u"2024-06-02"_s);

    const FolderCheck::Result check = FolderCheck::check(out.path());
    EXPECT_TRUE(check.findings.isEmpty()) << Findings::line(check.findings.value(0)).toStdString();
    expectValidPhotoXml05(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(Delivery05Test, TheDateComesFromLine13ThenExifDateTimeOriginalElseTheExportIsRefused) {
    run({photoRow(jpeg(u"typed.jpg"_s, {1600, 1200}, u"2020:01:01 00:00:00"_s), info(u"令和6年5月3日"_s)),
         photoRow(jpeg(u"exif.jpg"_s, {1600, 1200}, u"2023:11:30 17:45:00"_s, u"2025:01:01 10:00:00"_s),
                  info({}))});
    const QString xml = xmlText();
    EXPECT_EQ(element(xml, u"撮影年月日"_s, 0), u"2024-05-03"_s);
    EXPECT_EQ(element(xml, u"撮影年月日"_s, 1), u"2023-11-30"_s); // not DateTime, which editors rewrite

    const QString before = xml;
    // Only DateTime: no date taken.
    const QList<Finding> findings =
        refusal({photoRow(jpeg(u"edited.jpg"_s, {1600, 1200}, {}, u"2025:01:01 10:00:00"_s), info({}))});
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings.at(0).code, u"required"_s);
    EXPECT_EQ(findings.at(0).element, u"撮影年月日"_s);
    EXPECT_TRUE(findings.at(0).place.contains(u"写真帳 1 行目"_s));
    EXPECT_TRUE(findings.at(0).place.contains(u"edited.jpg"_s));
    EXPECT_EQ(xmlText(), before); // the previous delivery is intact
}

TEST_F(Delivery05Test, ASourceThatIsNoJpegIsRefusedNotCopiedUnderAJpgName) {
    const QList<Finding> findings = refusal({photoRow(photo(u"scan.jpg"_s, 1), info(u"2024-06-01"_s))});
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings.at(0).code, u"format"_s);
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));
}

TEST_F(Delivery05Test, EveryProblemIsListedWithItsRowBeforeAnythingIsWritten) {
    QStringList kana = info(u"2024-02-30"_s, u"2"_s);
    kana[9] = u"ﾊﾟｲﾌﾟ敷設"_s;
    QStringList noClass = info(u"2024-06-01"_s);
    noClass[13].clear();
    const QList<Finding> findings =
        refusal({photoRow(jpeg(u"a.jpg"_s), kana), photoRow(source.filePath(u"gone.jpg"_s), noClass)});
    QStringList seen;
    for (const Finding& f : findings)
        seen << f.code + u'@' + QString::number(f.serial) + u'/' + QString::number(f.sheetRow);
    EXPECT_TRUE(seen.contains(u"charset@1/1"_s)) << seen.join(u' ').toStdString();
    EXPECT_TRUE(seen.contains(u"date@1/1"_s));
    EXPECT_TRUE(seen.contains(u"value@1/1"_s));
    EXPECT_TRUE(seen.contains(u"missing-file@2/2"_s));
    EXPECT_TRUE(seen.contains(u"required@2/2"_s)); // 写真区分 under 工事
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));
}

TEST_F(Delivery05Test, PixelCountAndExifDateGiveNotesThatDoNotStopTheExport) {
    const DeliveryResult result =
        run({photoRow(jpeg(u"small.jpg"_s, {640, 480}, u"2024:06:02 08:00:00"_s), info(u"2024-06-01"_s))});
    EXPECT_EQ(result.photoCount, 1);
    QStringList codes;
    for (const Finding& note : result.notes)
        codes << note.code;
    EXPECT_EQ(codes, (QStringList{u"pixels"_s, u"exif-date"_s}));
}

TEST(ShotDate, ReadsTheFormsUsersTypeAndOnlyRealDays) {
    const QDate may3(2026, 5, 3);
    for (const QString& text : {u"2026-05-03"_s, u"2026/5/3"_s, u"2026.5.3"_s, u"2026年5月3日"_s,
                                u"令和8年5月3日"_s, u"R8.5.3"_s, u"r8/5/3"_s, u" ２０２６／５／３ "_s})
        EXPECT_EQ(ShotDate::parse(text), may3) << text.toStdString();
    EXPECT_EQ(ShotDate::parse(u"平成元年1月8日"_s), QDate(1989, 1, 8));
    EXPECT_EQ(ShotDate::parse(u"H31.4.30"_s), QDate(2019, 4, 30));
    for (const QString& text :
         {u"2026-02-30"_s, u"26/5/3"_s, u"令和123年1月1日"_s, u"5月3日"_s, u"昨日"_s, QString()})
        EXPECT_FALSE(ShotDate::parse(text).isValid()) << text.toStdString();
}

TEST_F(Delivery05Test, HeadersGiveTheFrameSizeAndDateTakenWithoutDecoding) {
    const PhotoHeader header = PhotoHeaders::read(
        jpeg(u"h.jpg"_s, {4000, 3000}, u"2022:12:31 23:59:59"_s, u"2023:01:05 00:00:00"_s));
    EXPECT_TRUE(header.jpeg);
    EXPECT_EQ(header.size, QSize(4000, 3000));
    EXPECT_EQ(header.taken, QDate(2022, 12, 31));
    EXPECT_FALSE(PhotoHeaders::read(photo(u"x.jpg"_s, 2)).jpeg);
    EXPECT_FALSE(PhotoHeaders::read(source.filePath(u"none.jpg"_s)).readable);
}
