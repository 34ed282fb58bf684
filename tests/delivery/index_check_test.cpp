#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "delivery/folder_check.h"
#include "delivery/index_check.h"
#include "delivery/photo_xml.h"
#include "delivery_fixture.h"
#include "support/batch_run.h"
#include "support/test_files.h"
#include "test_paths.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <functional>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace {

QString index(Version version = Version::V05) {
    return validIndex(version);
}

PhotoHeader header(PhotoHeader::Format format = PhotoHeader::Format::Jpeg, QSize size = {1600, 1200},
                   QDate taken = {2024, 6, 1}) {
    PhotoHeader result;
    result.readable = true;
    result.format = format;
    result.jpeg = result.complete = format == PhotoHeader::Format::Jpeg;
    result.size = size;
    result.taken = taken;
    return result;
}

IndexFiles files(Version version = Version::V05, PhotoHeader photo = header()) {
    IndexFiles result;
    result.pictures = {u"P0000001.JPG"_s};
    result.topLevel = {u"PHOTO.XML"_s, PhotoStandard::dtdName(version)};
    result.header = [photo](const QString&) { return photo; };
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

QString replaced(const QString& from, const QString& to, QString xml = index()) {
    return xml.replace(from, to);
}

bool isJapanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; });
}

// A 付加情報 block naming a drawing, inserted where the DTD puts it.
QString withDrawing(const QString& name) {
    return replaced(u"<撮影情報>"_s,
                    u"<付加情報>\r\n<参考図ファイル名>"_s + name +
                        u"</参考図ファイル名>\r\n<参考図タイトル>位置図</参考図タイトル>\r\n"_s
                        u"</付加情報>\r\n<撮影情報>"_s);
}

struct Rule {
    const char* name;
    QString xml;
    IndexFiles files;
    QString expected; // "code:element" of the one finding
};

} // namespace

TEST(IndexCheck, AnIndexWeWriteHasNoFindingsInEitherVersion) {
    EXPECT_EQ(codes(index()), QStringList());
    EXPECT_EQ(codes(index(Version::V03), files(Version::V03)), QStringList());
}

// Each rule broken alone gives exactly one finding, in Japanese, under its code.
TEST(IndexCheck, EachRuleBrokenGivesOneJapaneseFinding) {
    QString moved =
        replaced(u"</撮影情報>\r\n<代表写真>0</代表写真>"_s, u"<代表写真>0</代表写真>\r\n</撮影情報>"_s);
    QString undated = index();
    undated.remove(QRegularExpression(u"<撮影年月日>[^\n]*\n"_s));
    QString flagged03 =
        replaced(u"</撮影情報>"_s, u"</撮影情報>\r\n<代表写真>0</代表写真>"_s, index(Version::V03));
    IndexFiles second = files();
    second.pictures = {u"P0000002.JPG"_s};
    IndexFiles lowerOnDisk = files();
    lowerOnDisk.pictures = {u"p0000001.jpg"_s};
    IndexFiles tif = files(Version::V05, header(PhotoHeader::Format::Tiff));
    tif.pictures = {u"P0000001.TIF"_s};
    IndexFiles drawing = files();
    drawing.drawings = {u"plan.jpg"_s};
    IndexFiles cutShort = files();
    cutShort.header = [](const QString&) {
        PhotoHeader cut = header();
        cut.complete = false;
        return cut;
    };
    IndexFiles noPicture = files();
    noPicture.pictures.clear();
    IndexFiles thumbs = files();
    thumbs.pictures << u"Thumbs.db"_s;
    const QString longTitle = QString(127, u'あ') + u'a';

    const QList<Rule> rules = {
        {"parse", replaced(u"</写真タイトル>"_s, u"</写真>"_s), files(), u"structure:"_s},
        {"misplaced", moved, files(), u"structure:代表写真"_s},
        {"missing", undated, files(), u"structure:撮影年月日"_s},
        {"not in 03", flagged03, files(Version::V03), u"structure:代表写真"_s},
        {"internal subset", replaced(u"PHOTO05.DTD\">"_s, u"PHOTO05.DTD\" [<!ENTITY k \"工\">]>"_s), files(),
         u"structure:photodata"_s},
        {"control character", with(u"写真タイトル"_s, u"A\u0001B"_s), files(), u"structure:"_s},
        {"bare ampersand", with(u"写真タイトル"_s, u"A&B"_s), files(), u"structure:写真タイトル"_s},
        {"entity", with(u"写真タイトル"_s, u"&k;"_s), files(), u"entity:写真タイトル"_s},
        {"required", with(u"写真タイトル"_s, {}), files(), u"required:写真タイトル"_s},
        {"work class", with(u"写真区分"_s, {}), files(), u"required:写真区分"_s},
        {"length", with(u"写真タイトル"_s, longTitle), files(), u"length:写真タイトル"_s},
        {"number length", with(u"メディア番号"_s, u"123456789"_s), files(), u"length:メディア番号"_s},
        {"main class", with(u"写真-大分類"_s, u"工事写真"_s), files(), u"value:写真-大分類"_s},
        {"flag", with(u"代表写真"_s, u"2"_s), files(), u"value:代表写真"_s},
        {"full-width number", with(u"メディア番号"_s, u"１"_s), files(), u"value:メディア番号"_s},
        {"media from 1", with(u"メディア番号"_s, u"0"_s), files(), u"value:メディア番号"_s},
        {"serial from 1", with(u"シリアル番号"_s, u"0"_s), files(), u"value:シリアル番号"_s},
        {"photo folder", with(u"写真フォルダ名"_s, u"PHOTO/PICS"_s), files(), u"value:写真フォルダ名"_s},
        {"drawing folder", with(u"参考図フォルダ名"_s, u"DRA"_s), files(), u"value:参考図フォルダ名"_s},
        {"standard of 03", with(u"適用要領基準"_s, u"土木200406-01"_s), files(), u"value:適用要領基準"_s},
        {"date", with(u"撮影年月日"_s, u"2024/06/01"_s), files(), u"date:撮影年月日"_s},
        {"full-width letters", with(u"写真タイトル"_s, u"１２３ ＡＢＣ"_s), files(),
         u"charset:写真タイトル"_s},
        {"outside JIS X 0208", with(u"写真タイトル"_s, u"①№髙"_s), files(), u"charset:写真タイトル"_s},
        {"name and serial", with(u"写真ファイル名"_s, u"P0000002.JPG"_s), second,
         u"filename:写真ファイル名"_s},
        {"name in capitals", with(u"写真ファイル名"_s, u"P0000001.jpg"_s), files(),
         u"filename:写真ファイル名"_s},
        {"TIFF before 202003",
         with(u"適用要領基準"_s, u"土木201603-01"_s, with(u"写真ファイル名"_s, u"P0000001.TIF"_s)), tif,
         u"filename:写真ファイル名"_s},
        {"drawing name", withDrawing(u"plan.jpg"_s), drawing, u"filename:参考図ファイル名"_s},
        {"file name on disk", index(), lowerOnDisk, u"name:写真ファイル名"_s},
        {"content", index(), files(Version::V05, header(PhotoHeader::Format::Png)),
         u"format:写真ファイル名"_s},
        {"cut short", index(), cutShort, u"damaged:写真ファイル名"_s},
        {"missing file", index(), noPicture, u"missing-file:写真ファイル名"_s},
        {"extra file", index(), thumbs, u"extra-file:"_s},
    };
    for (const Rule& rule : rules) {
        const QList<Finding> findings = IndexCheck::check(rule.xml, rule.files);
        ASSERT_EQ(findings.size(), 1)
            << rule.name << ": " << codes(rule.xml, rule.files).join(u' ').toStdString();
        const Finding& finding = findings.first();
        EXPECT_EQ(finding.code + u':' + finding.element, rule.expected) << rule.name;
        EXPECT_EQ(finding.severity, Finding::Severity::Error) << rule.name;
        EXPECT_TRUE(isJapanese(finding.message)) << rule.name << ": " << finding.message.toStdString();
    }
}

TEST(IndexCheck, WhatPassesTheRules) {
    // Lengths count what a reader sees: a reference is one character.
    QString references;
    for (int i = 0; i < 127; ++i)
        references += i % 2 ? u"&#x3042;"_s : u"&amp;"_s;
    EXPECT_EQ(codes(with(u"写真タイトル"_s, references)), QStringList());
    EXPECT_EQ(codes(with(u"写真タイトル"_s, u"<![CDATA[a<b]]>"_s)), QStringList());
    EXPECT_EQ(codes(with(u"写真区分"_s, {}, with(u"写真-大分類"_s, u"測量"_s))), QStringList());
    EXPECT_EQ(codes(with(u"写真タイトル"_s, QString(127, u'あ'))), QStringList());
    EXPECT_EQ(codes(with(u"写真タイトル"_s, u"波線〜と全角～、ー−（）"_s)), QStringList());
    EXPECT_FALSE(codes(with(u"撮影年月日"_s, u"2024-02-29"_s)).contains(u"date:撮影年月日"_s));
    // TIFF from 202003 on.
    IndexFiles tif = files(Version::V05, header(PhotoHeader::Format::Tiff));
    tif.pictures = {u"P0000001.TIF"_s};
    EXPECT_EQ(
        codes(with(u"適用要領基準"_s, u"土木202003-01"_s, with(u"写真ファイル名"_s, u"P0000001.TIF"_s)), tif),
        QStringList());
    IndexFiles drawing = files();
    drawing.drawings = {u"D0000001.JPG"_s};
    EXPECT_EQ(codes(withDrawing(u"D0000001.JPG"_s), drawing), QStringList());
}

TEST(IndexCheck, CharactersAreJudgedByTheirShiftJisCode) {
    const auto charset = [](const QString& title) {
        return IndexCheck::check(with(u"写真タイトル"_s, title), files()).value(0).message;
    };
    for (const QString& bad : {u"ﾊﾟｲﾌﾟ"_s, u"Ⅱ"_s, u"㈱"_s, u"\uE000"_s, u"😀"_s, u"タブ\t"_s})
        EXPECT_TRUE(charset(bad).contains(u"使えない文字"_s)) << bad.toStdString();
    EXPECT_TRUE(charset(u"髙橋"_s).contains(u"「髙」機種依存文字"_s));
    EXPECT_TRUE(charset(u"№１"_s).contains(u"「№」機種依存文字、「１」全角英数字"_s));
    EXPECT_TRUE(charset(u"\uE000"_s).contains(u"外字"_s));
    EXPECT_TRUE(charset(u"😀"_s).contains(u"Shift_JIS にない文字"_s));
    EXPECT_TRUE(charset(u"タブ\t"_s).contains(u"U+0009 の制御文字"_s));
    const QString parse =
        IndexCheck::check(replaced(u"</写真タイトル>"_s, u"</写真>"_s), files()).value(0).message;
    EXPECT_TRUE(parse.contains(u"開始タグと終了タグが対応していません"_s)) << parse.toStdString();
}

TEST(IndexCheck, FindingsAboutTheSamePhotoKeepTheirSerialAndDuplicatesAreNamed) {
    QString twice = index();
    const qsizetype block = twice.indexOf(u"<写真情報>"_s);
    twice.insert(twice.indexOf(u"</photodata>"_s),
                 twice.mid(block, twice.indexOf(u"</photodata>"_s) - block));
    EXPECT_EQ(codes(twice), (QStringList{u"filename:シリアル番号"_s, u"filename:写真ファイル名"_s}));
    EXPECT_EQ(
        codes(index(), files(Version::V05, header(PhotoHeader::Format::Jpeg, {4000, 3000}, {2024, 5, 31}))),
        (QStringList{u"pixels:写真ファイル名"_s, u"exif-date:撮影年月日"_s}));
    EXPECT_THROW(codes(replaced(u"DTD_version=\"05\""_s, u"DTD_version=\"04\""_s)), AppError);
}

// A file that nests elements thousands deep is reported, not followed down.
TEST(IndexCheck, DeepNestingIsOneStructureFindingNotACrash) {
    QString deep = index();
    QString nested;
    for (int i = 0; i < 20000; ++i)
        nested += u"<写真情報>"_s;
    for (int i = 0; i < 20000; ++i)
        nested += u"</写真情報>"_s;
    deep.insert(deep.indexOf(u"</photodata>"_s), nested);
    const QList<Finding> findings = IndexCheck::check(deep, files());
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings.first().code, u"structure"_s);
    EXPECT_TRUE(findings.first().message.contains(u"入れ子が深すぎる"_s))
        << findings.first().message.toStdString();

    QTemporaryDir folder;
    QDir().mkpath(folder.filePath(u"PHOTO/PIC"_s));
    writeBytes(folder.filePath(u"PHOTO/PHOTO.XML"_s), AnsiCodec::encode(deep).bytes);
    QString out, err;
    EXPECT_EQ(runCommand({u"check-delivery"_s, folder.path()}, folder.path(), out, err), 2)
        << err.toStdString();
    EXPECT_TRUE(out.contains(u"error\tstructure\t-\tphotodata\t要素の入れ子が深すぎる"_s))
        << out.toStdString();
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
