#include "app/ansi_codec.h"
#include "app/app_error.h"
#include "delivery/folder_check.h"
#include "delivery/index_check.h"
#include "delivery/photo_xml.h"
#include "delivery_fixture.h"
#include "support/test_files.h"
#include "test_paths.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace {

// A valid index of one photo, P0000001.JPG, for the version.
QString index(Version version = Version::V05) {
    PhotoXml::Values values = PhotoXml::photoValues(1, FieldBuffer());
    values.insert(u"写真-大分類"_s, u"工事"_s);
    values.insert(u"写真区分"_s, u"施工状況写真"_s);
    values.insert(u"写真タイトル"_s, u"床掘"_s);
    values.insert(u"撮影年月日"_s, u"2024-06-01"_s);
    values.insert(u"代表写真"_s, u"0"_s);
    values.insert(u"提出頻度写真"_s, u"0"_s);
    return PhotoXml::header(version, PhotoStandard::defaultStandard(version)) +
           PhotoXml::photoBlock(version, values) + PhotoXml::footer();
}

IndexFiles files(Version version = Version::V05,
                 PhotoHeader header = {true, true, {1600, 1200}, {2024, 6, 1}}) {
    IndexFiles result;
    result.pictures = {u"P0000001.JPG"_s};
    result.topLevel = {u"PHOTO.XML"_s, PhotoStandard::dtdName(version)};
    result.header = [header](const QString&) { return header; };
    return result;
}

// "code:element" of every finding, serial left out.
QStringList codes(const QString& xml, const IndexFiles& given = files()) {
    QStringList result;
    for (const Finding& f : IndexCheck::check(xml, given))
        result << f.code + u':' + f.element;
    return result;
}

QString with(const QString& element, const QString& value, QString xml = index()) {
    const QRegularExpression pattern(u'<' + element + u">[^<]*</"_s + element + u'>');
    return xml.replace(pattern, u'<' + element + u'>' + value + u"</"_s + element + u'>');
}

} // namespace

TEST(IndexCheck, AnIndexWeWriteHasNoFindingsInEitherVersion) {
    EXPECT_EQ(codes(index()), QStringList());
    EXPECT_EQ(codes(index(Version::V03), files(Version::V03)), QStringList());
}

TEST(IndexCheck, StructureFollowsTheVersionsOrderAndTheDoctype) {
    QString moved = index();
    moved.replace(u"</撮影情報>\r\n<代表写真>0</代表写真>"_s, u"<代表写真>0</代表写真>\r\n</撮影情報>"_s);
    EXPECT_EQ(codes(moved), (QStringList{u"structure:代表写真"_s, u"structure:代表写真"_s}));
    // 03 has no flags; 05 may not lack 撮影年月日.
    QString flagged03 = index(Version::V03);
    flagged03.replace(u"</撮影情報>"_s, u"</撮影情報>\r\n<代表写真>0</代表写真>"_s);
    EXPECT_EQ(codes(flagged03, files(Version::V03)), QStringList{u"structure:代表写真"_s});
    QString undated = index();
    undated.remove(QRegularExpression(u"<撮影年月日>[^\n]*\n"_s));
    EXPECT_TRUE(codes(undated).contains(u"structure:撮影年月日"_s));
    EXPECT_TRUE(codes(undated).contains(u"required:撮影年月日"_s));

    QString wrongDtd = index();
    wrongDtd.replace(u"SYSTEM \"PHOTO05.DTD\""_s, u"SYSTEM \"PHOTO03.DTD\""_s);
    IndexFiles without = files();
    without.topLevel = {u"PHOTO.XML"_s};
    EXPECT_EQ(codes(wrongDtd, without), (QStringList{u"structure:photodata"_s, u"structure:photodata"_s}));
    EXPECT_EQ(codes(u"<photodata DTD_version=\"05\"><写真情報>"_s).value(0), u"structure:"_s);
    EXPECT_THROW(codes(QString(index()).replace(u"DTD_version=\"05\""_s, u"DTD_version=\"04\""_s)), AppError);
}

TEST(IndexCheck, RequiredItemsLengthsAndValues) {
    EXPECT_EQ(codes(with(u"写真タイトル"_s, {})), QStringList{u"required:写真タイトル"_s});
    EXPECT_EQ(codes(with(u"写真区分"_s, {})), QStringList{u"required:写真区分"_s});
    EXPECT_EQ(codes(with(u"写真区分"_s, {}, with(u"写真-大分類"_s, u"測量"_s))), QStringList());
    EXPECT_EQ(codes(with(u"提出頻度写真"_s, {})), QStringList{u"required:提出頻度写真"_s});

    EXPECT_EQ(codes(with(u"写真タイトル"_s, QString(127, u'あ'))), QStringList());
    EXPECT_EQ(codes(with(u"写真タイトル"_s, QString(127, u'あ') + u'a')),
              QStringList{u"length:写真タイトル"_s});
    EXPECT_EQ(codes(with(u"写真タイトル"_s, QString(254, u'a'))), QStringList());
    EXPECT_EQ(codes(with(u"メディア番号"_s, u"123456789"_s)), QStringList{u"length:メディア番号"_s});

    EXPECT_EQ(codes(with(u"写真-大分類"_s, u"工事写真"_s)), QStringList{u"value:写真-大分類"_s});
    EXPECT_EQ(codes(with(u"写真区分"_s, u"施工状況"_s)), QStringList{u"value:写真区分"_s});
    EXPECT_EQ(codes(with(u"代表写真"_s, u"2"_s)), QStringList{u"value:代表写真"_s});
    EXPECT_EQ(codes(with(u"メディア番号"_s, u"１"_s)), QStringList{u"value:メディア番号"_s});
}

TEST(IndexCheck, DatesMustBeRealDaysInTheIsoForm) {
    for (const QString& bad : {u"2024/06/01"_s, u"2024-6-1"_s, u"2023-02-29"_s, u"令和6年6月1日"_s})
        EXPECT_TRUE(codes(with(u"撮影年月日"_s, bad)).contains(u"date:撮影年月日"_s)) << bad.toStdString();
    EXPECT_FALSE(codes(with(u"撮影年月日"_s, u"2024-02-29"_s)).contains(u"date:撮影年月日"_s));
}

TEST(IndexCheck, CharactersAreJudgedByTheirShiftJisCode) {
    const auto charset = [](const QString& title) {
        return IndexCheck::check(with(u"写真タイトル"_s, title), files()).value(0).message;
    };
    EXPECT_EQ(charset(u"波線〜と全角～、ー−"_s), QString()); // the wave dash typed on Windows passes
    for (const QString& bad :
         {u"ﾊﾟｲﾌﾟ"_s, u"①"_s, u"Ⅱ"_s, u"㈱"_s, u"髙橋"_s, u"\uE000"_s, u"😀"_s, u"タブ\t"_s})
        EXPECT_TRUE(charset(bad).contains(u"使えない文字"_s)) << bad.toStdString();
    EXPECT_TRUE(charset(u"髙橋"_s).contains(u"「髙」機種依存文字"_s));
    EXPECT_TRUE(charset(u"\uE000"_s).contains(u"外字"_s));
    EXPECT_TRUE(charset(u"😀"_s).contains(u"Shift_JIS にない文字"_s));
}

TEST(IndexCheck, FileNamesFilesAndTheirHeaders) {
    EXPECT_TRUE(codes(with(u"写真ファイル名"_s, u"P0000001.jpg"_s)).contains(u"filename:写真ファイル名"_s));
    // TIFF and SVG are accepted from the 2023 standard on.
    IndexFiles tif = files();
    tif.pictures = {u"P0000001.TIF"_s};
    EXPECT_EQ(codes(with(u"写真ファイル名"_s, u"P0000001.TIF"_s), tif), QStringList());
    EXPECT_TRUE(
        codes(with(u"適用要領基準"_s, u"土木202003-01"_s, with(u"写真ファイル名"_s, u"P0000001.TIF"_s)), tif)
            .contains(u"filename:写真ファイル名"_s));

    QString twice = index();
    const qsizetype block = twice.indexOf(u"<写真情報>"_s);
    twice.insert(twice.indexOf(u"</photodata>"_s),
                 twice.mid(block, twice.indexOf(u"</photodata>"_s) - block));
    EXPECT_EQ(codes(twice), (QStringList{u"filename:シリアル番号"_s, u"filename:写真ファイル名"_s}));

    IndexFiles extra = files();
    extra.pictures << u"Thumbs.db"_s;
    extra.topLevel << u"PHOTO.XSL"_s << u"memo.txt"_s;
    EXPECT_EQ(codes(index(), extra), (QStringList{u"extra-file:"_s, u"extra-file:"_s}));
    IndexFiles none = files();
    none.pictures.clear();
    EXPECT_EQ(codes(index(), none), QStringList{u"missing-file:写真ファイル名"_s});

    EXPECT_EQ(codes(index(), files(Version::V05, {true, false, {}, {}})),
              QStringList{u"format:写真ファイル名"_s});
    EXPECT_EQ(codes(index(), files(Version::V05, {true, true, {4000, 3000}, {2024, 5, 31}})),
              (QStringList{u"pixels:写真ファイル名"_s, u"exif-date:撮影年月日"_s}));
}

class CheckExamples : public DeliveryFolder {
protected:
    // A PHOTO folder around an example index, with a JPEG for every photo it lists.
    void makeFolder(const QString& example) {
        const QString folder = photoFolder();
        QDir().mkpath(folder + u"/PIC"_s);
        const QByteArray bytes = readBytes(example);
        writeBytes(folder + u"/PHOTO.XML"_s, bytes);
        writeBytes(folder + u"/PHOTO05.DTD"_s, readBytes(shippedDtd05()));
        QString text;
        FolderCheck::encodingFindings(bytes, text);
        static const QRegularExpression name(u"<写真ファイル名>([^<]+)<"_s);
        for (const QRegularExpressionMatch& m : name.globalMatch(text))
            writeBytes(folder + u"/PIC/"_s + m.captured(1), jpegBytes({1600, 1200}));
    }
    static QString example(const QString& name) {
        return QStringLiteral(TOVENLA_SOURCE_DIR) + u"/../shared/data/delivery/examples/"_s + name;
    }
};

TEST_F(CheckExamples, ExtraRealIndexesFromOtherPrograms) {
    if (!QFileInfo::exists(example(u"PHOTO.XML"_s))) GTEST_SKIP() << "shared examples are not here";
    makeFolder(example(u"PHOTO.XML"_s));
    const FolderCheck::Result good = FolderCheck::check(out.path());
    EXPECT_FALSE(Findings::hasErrors(good.findings));

    QDir(photoFolder()).removeRecursively();
    makeFolder(example(u"CALS_EC_PHOTO.xml"_s));
    QStringList seen;
    for (const Finding& f : FolderCheck::check(photoFolder()).findings)
        seen << f.code + u'@' + QString::number(f.serial);
    for (const QString& expected :
         {u"encoding@0"_s, u"structure@1"_s, u"filename@1"_s, u"charset@7"_s, u"charset@52"_s, u"value@4"_s})
        EXPECT_TRUE(seen.contains(expected)) << expected.toStdString();
}

TEST(PhotoDtd, TheShippedDtdIsTheTablesAndRejectsFlagsInsideShootingInfo) {
    const QByteArray shipped = readBytes(shippedDtd05());
    EXPECT_EQ(shipped, AnsiCodec::encode(PhotoStandard::dtdText(Version::V05)).bytes);
    EXPECT_TRUE(shipped.startsWith("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"));

    QTemporaryDir dir;
    QString moved = index();
    moved.replace(u"</撮影情報>\r\n<代表写真>0</代表写真>"_s, u"<代表写真>0</代表写真>\r\n</撮影情報>"_s);
    writeBytes(dir.filePath(u"good.xml"_s), AnsiCodec::encode(index()).bytes);
    writeBytes(dir.filePath(u"moved.xml"_s), AnsiCodec::encode(moved).bytes);
    const auto good = xmllintErrors(dir.filePath(u"good.xml"_s), shippedDtd05());
    if (!good) GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    EXPECT_EQ(*good, QString());
    EXPECT_NE(*xmllintErrors(dir.filePath(u"moved.xml"_s), shippedDtd05()), QString());
}
