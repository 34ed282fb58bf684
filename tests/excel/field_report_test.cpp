#include "base/shipped_files.h"
#include "excel/field_report.h"
#include "excel/field_report_layout.h"
#include "xlsx/workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Album {
    QTemporaryDir dir;
    QList<AlbumRow> rows;

    QString photo(int n) {
        const QString path = dir.filePath(u"P%1.jpg"_s.arg(n));
        if (!QFileInfo(path).exists()) {
            QImage image(320, 240, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(n * 40 % 360, 200, 200));
            image.save(path, "JPEG");
        }
        return path;
    }
    // Lines "N-1" ... "N-4", line 5 the unit key.
    void add(int n, bool withPhoto = true, const QString& key = {}, const QString& line1 = {}) {
        AlbumRow row;
        row.info =
            (line1.isNull() ? u"%1-1"_s.arg(n) : line1) + u"\r\n%1-2\r\n%1-3\r\n%1-4\r\n"_s.arg(n) + key;
        if (withPhoto) row.path = photo(n);
        rows.append(row);
    }
    void addMany(int count) {
        for (int n = 1; n <= count; ++n)
            add(n);
    }
    QString out() const { return dir.filePath(u"out.xlsx"_s); }
    ReportResult run(int kind, const QString& sheetName = {}) const {
        FieldReport::Request r;
        r.rows = rows;
        r.kind = kind;
        r.sheetName = sheetName;
        r.programFolder = dir.path();
        return FieldReport::run(r, out(), {});
    }
    Workbook result() const { return Workbook::open(out()); }
};

QStringList sheetNames(const Workbook& book) {
    QStringList names;
    for (int i = 1; i <= book.sheetCount(); ++i)
        names << book.sheetName(i);
    return names;
}

void expectRect(const PictureRect& r, double left, double top, double width, double height) {
    EXPECT_DOUBLE_EQ(r.left, left);
    EXPECT_DOUBLE_EQ(r.top, top);
    EXPECT_DOUBLE_EQ(r.width, width);
    EXPECT_DOUBLE_EQ(r.height, height);
}

double heights(const Workbook& book, int first, int last) {
    double sum = 0;
    for (int r = first; r <= last; ++r)
        sum += book.rowHeight(r);
    return sum;
}

} // namespace

TEST(FieldReportTemplates, BlocksAddUpToThePictureSteps) {
    const auto open = [](const QString& kind) {
        Workbook book = Workbook::open(ShippedFiles::findTemplate({}, kind + u"ORG"_s));
        book.activate(book.sheetIndex(kind));
        return book;
    };
    Workbook recon = open(u"現地踏査"_s);
    EXPECT_DOUBLE_EQ(heights(recon, 1, 43), 777);
    EXPECT_DOUBLE_EQ(heights(recon, 1, 4), 84); // first picture's top
    EXPECT_EQ(recon.cellText(16, 2), u"点名"_s);
    Workbook boundary = open(u"境界点写真"_s);
    EXPECT_DOUBLE_EQ(heights(boundary, 2, 13), 810);
    EXPECT_DOUBLE_EQ(heights(boundary, 1, 2), 52);
    Workbook work = open(u"作業管理写真"_s);
    EXPECT_DOUBLE_EQ(heights(work, 2, 11), 721.5);
    EXPECT_DOUBLE_EQ(heights(work, 1, 3), 106);
    // Both pictures of a band lie inside the sheet's columns of their frames.
    double right = 0;
    for (int c = 1; c <= 5; ++c)
        right += recon.columnWidth(c);
    EXPECT_GE(right, 331 + 240);
}

TEST(FieldReport, OneSheetRunsPagesDownWithTextBesideLeftPhotos) {
    Album album;
    album.addMany(6);
    album.add(7, false); // takes a slot, leaves it empty
    album.add(8);
    ASSERT_FALSE(album.run(0));
    Workbook book = album.result();
    EXPECT_EQ(sheetNames(book), QStringList{u"現地踏査"_s});
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 7);
    expectRect(pictures[0].rect, 47, 84, 240, 180);
    expectRect(pictures[1].rect, 331, 84, 240, 180);
    expectRect(pictures[5].rect, 331, 84 + 2 * 252, 240, 180);
    expectRect(pictures[6].rect, 331, 84 + 777, 240, 180); // row 8: page 2, right of band 0
    EXPECT_EQ(book.cellText(2, 3), u"1-1"_s);
    EXPECT_EQ(book.cellText(2, 5), u"1-2"_s);
    EXPECT_EQ(book.cellText(3, 5), u"1-4"_s);
    EXPECT_EQ(book.cellText(16, 3), u"3-1"_s);
    // Row 8 sits on the right: nothing is written for it.
    EXPECT_EQ(book.cellText(45, 3), QString());
    EXPECT_EQ(book.cellText(44, 1), QString());
    EXPECT_EQ(book.rowBreaks(), (QList<int>{43, 86})); // each page prints alone
}

TEST(FieldReport, SheetPerPageIsNamedFromTheTypedName) {
    Album album;
    album.addMany(13);
    ASSERT_FALSE(album.run(1, u"A"_s));
    Workbook book = album.result();
    EXPECT_EQ(sheetNames(book), (QStringList{u"A"_s, u"A (2)"_s, u"A (3)"_s}));
    book.activate(3);
    ASSERT_EQ(book.pictures().size(), 1);
    expectRect(book.pictures()[0].rect, 47, 84, 240, 180);
    EXPECT_EQ(book.cellText(2, 3), u"13-1"_s);
    book.activate(1);
    EXPECT_EQ(book.pictures().size(), 6);
}

TEST(FieldReport, TypedSheetNamesNoSheetCanHoldAreRefusedBeforeWriting) {
    Album album;
    album.addMany(13);
    for (const QString& name : {QString(), u"A/B"_s, u"[x]"_s, QString(29, u'あ')}) {
        const auto failure = album.run(1, name);
        ASSERT_TRUE(failure) << name.toStdString();
        EXPECT_TRUE(failure->keepDialogOpen);
        EXPECT_FALSE(QFileInfo::exists(album.out()));
    }
    EXPECT_EQ(album.run(1, {})->message, FieldReport::NoSheetName);
    EXPECT_FALSE(album.run(1, QString(27, u'あ'))); // "… (3)" still fits 31
}

TEST(FieldReport, UnitSheetsFollowLineFiveOfOddRows) {
    Album album;
    for (int n = 1; n <= 6; ++n)
        album.add(n, true, n <= 4 ? u"U1"_s : u"U2"_s);
    album.rows[3].info.replace(u"U1"_s, u"ignored"_s); // even rows keep their predecessor's key
    ASSERT_FALSE(album.run(2));
    Workbook book = album.result();
    EXPECT_EQ(sheetNames(book), (QStringList{u"U1"_s, u"U2"_s}));
    book.activate(1);
    EXPECT_EQ(book.pictures().size(), 4);
    EXPECT_EQ(book.cellText(16, 3), u"3-1"_s);
    book.activate(2);
    EXPECT_EQ(book.pictures().size(), 2);
    EXPECT_EQ(book.cellText(2, 3), u"5-1"_s);
    expectRect(book.pictures()[1].rect, 331, 84, 240, 180);
}

TEST(FieldReport, EmptyAndRepeatedUnitKeysEachKeepTheirOwnSheet) {
    Album album;
    const QStringList keys = {{}, {}, u"U"_s, u"U"_s, {}, {}, u"U"_s, {}, u"a:b"_s};
    for (int n = 1; n <= int(keys.size()); ++n)
        album.add(n, n != 6, keys[n - 1]);
    album.rows[1].path = album.dir.filePath(u"gone.jpg"_s); // a photo not there is left out
    ASSERT_FALSE(album.run(2));
    Workbook book = album.result();
    EXPECT_EQ(sheetNames(book),
              (QStringList{u"現地踏査 (2)"_s, u"U"_s, u"現地踏査 (3)"_s, u"U (2)"_s, u"a_b"_s}));
    const QList<int> pictures = {1, 2, 1, 2, 1};
    for (int i = 1; i <= 5; ++i) {
        book.activate(i);
        EXPECT_EQ(book.pictures().size(), pictures[i - 1]) << i;
        EXPECT_DOUBLE_EQ(book.rowHeight(1), 21) << i; // the template rows are gone
    }
    book.activate(3);
    EXPECT_EQ(book.cellText(2, 3), u"5-1"_s);
}

TEST(FieldReport, BlockPointKindsGetTheirHeadingAndTextOnBothSides) {
    Album album;
    album.addMany(2);
    ASSERT_FALSE(album.run(4));
    Workbook book = album.result();
    EXPECT_EQ(book.cellText(1, 2), u"街区多角点現況写真(現地踏査報告)"_s);
    for (int b = 0; b < 3; ++b) {
        EXPECT_EQ(book.cellText(14 * b + 2, 4), u"街区点指示図番号"_s);
        EXPECT_EQ(book.cellText(14 * b + 3, 2), u"街区多角点番号"_s);
        EXPECT_EQ(book.cellText(14 * b + 4, 2), QString());
        EXPECT_EQ(book.cellText(14 * b + 4, 4), QString());
    }
    EXPECT_EQ(book.cellText(2, 3), u"1-1"_s);
    EXPECT_EQ(book.cellText(3, 3), u"1-2"_s);
    EXPECT_EQ(book.cellText(2, 5), u"2-1"_s);
    EXPECT_EQ(book.cellText(3, 5), u"2-2"_s);
}

TEST(FieldReport, BandTextBelongsToItsOwnBand) {
    Album album;
    album.add(1, true, {}, u"L1"_s);
    album.add(2, true, {}, u"R2"_s);
    album.add(3, false); // the left place of band 1 stays empty
    album.add(4, true, {}, u"R4"_s);
    album.add(5, true, {}, u""_s);
    album.add(6, true, {}, u"R6"_s);
    for (int n = 7; n <= 9; ++n)
        album.add(n);
    ASSERT_FALSE(album.run(5));
    Workbook book = album.result();
    EXPECT_EQ(sheetNames(book), QStringList{u"境界点写真"_s});
    EXPECT_EQ(book.cellText(2, 2), u"L1"_s);
    EXPECT_EQ(book.cellText(5, 2), u"R4"_s);
    EXPECT_EQ(book.cellText(8, 2), u"R6"_s);
    EXPECT_EQ(book.cellText(14, 2), u"9-1"_s); // page 2
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 8);
    expectRect(pictures[2].rect, 291, 52 + 202.5, 228, 171);
    expectRect(pictures[7].rect, 9, 52 + 810, 228, 171);

    Album work;
    work.addMany(7);
    ASSERT_FALSE(work.run(6));
    Workbook sheet = work.result();
    EXPECT_EQ(sheet.cellText(3, 2), u"1-1"_s);
    EXPECT_EQ(sheet.cellText(13, 2), u"7-1"_s);
    expectRect(sheet.pictures()[5].rect, 297, 106 + 2 * 220.5, 217, 157);
    expectRect(sheet.pictures()[6].rect, 15, 106 + 721.5, 217, 157);
}

TEST(FieldReport, BadPhotosAndTemplatesWriteNothing) {
    Album album;
    album.addMany(3);
    QFile bad(album.dir.filePath(u"bad.jpg"_s));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    album.rows[1].path = bad.fileName();
    album.rows[2].path = album.dir.filePath(u"gone.jpg"_s);
    auto failure = album.run(0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->badRows, (QList<int>{2, 3}));
    EXPECT_FALSE(QFileInfo::exists(album.out()));
    // Kind 2 leaves the missing photo out but still names the unreadable one.
    failure = album.run(2);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->badRows, QList<int>{2});

    Album office; // the office's own template beside the program wins, damaged or not
    office.addMany(1);
    QFile damaged(office.dir.filePath(u"作業管理写真ORG.xlsx"_s));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("PK broken");
    damaged.close();
    ASSERT_TRUE(office.run(6));
    EXPECT_FALSE(QFileInfo::exists(office.out()));
}

TEST(FieldReport, DefaultSheetNameStopsBeforeTheSecondDash) {
    const auto name = [](const QString& line) {
        AlbumRow row;
        row.info = line + u"\r\nx"_s;
        return FieldReport::defaultSheetName({row});
    };
    EXPECT_EQ(name(u"12-3-45"_s), u"12-3"_s);
    EXPECT_EQ(name(u"12-3"_s), u"12-3"_s);
    EXPECT_EQ(name(u"abc"_s), u"abc"_s);
    EXPECT_EQ(FieldReport::defaultSheetName({}), QString());
}
