#include "base/app_error.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray jpeg() {
    static const QByteArray bytes = QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffd9");
    return bytes;
}

// A sheet with a framed block in rows 1-3: values, heights, a merge, a break and a picture.
Workbook blockBook() {
    Workbook book = Workbook::createBlank({u"Block"_s, u"Other"_s});
    book.setText(1, 1, u"head"_s);
    book.setText(2, 2, u"1-2"_s);
    book.setRowHeight(2, 30);
    book.mergeCells({1, 1, 1, 3});
    book.addRowBreak(3);
    book.addPicture({10, 20, 50, 20}, jpeg(), u"jpeg"_s);
    book.setText(5, 1, u"below"_s);
    return book;
}

} // namespace

TEST(Workbook, PastedRowsRepeatValuesHeightsMergesBreaksAndPictures) {
    Workbook book = blockBook();
    book.copyRows(1, 3);
    book.pasteRows(4);
    book.pasteRows(7);
    EXPECT_EQ(book.cellText(4, 1), u"head"_s);
    EXPECT_EQ(book.cellText(5, 1), QString()) << "a paste overwrites whole rows";
    EXPECT_EQ(book.cellText(8, 2), u"1-2"_s);
    EXPECT_DOUBLE_EQ(book.rowHeight(8), 30);
    ASSERT_EQ(book.merges().size(), 3);
    EXPECT_EQ(book.merges().last().firstRow, 7);
    EXPECT_EQ(book.rowBreaks(), (QList<int>{3, 6, 9}));
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 3);
    EXPECT_NEAR(pictures[2].rect.top,
                pictures[0].rect.top + book.rowHeight(1) + book.rowHeight(2) + book.rowHeight(3) +
                    book.rowHeight(4) + book.rowHeight(5) + book.rowHeight(6),
                0.01);
    EXPECT_EQ(pictures[2].image, jpeg());
}

TEST(Workbook, DeletingTheTemplateBlockMovesEverythingUp) {
    Workbook book = blockBook();
    book.copyRows(1, 3);
    book.pasteRows(4);
    const double secondTop = book.pictures()[1].rect.top;
    book.deleteRows(1, 3);
    EXPECT_EQ(book.cellText(1, 1), u"head"_s);
    EXPECT_DOUBLE_EQ(book.rowHeight(2), 30);
    ASSERT_EQ(book.merges().size(), 1);
    EXPECT_EQ(book.merges().first().firstRow, 1);
    EXPECT_EQ(book.rowBreaks(), (QList<int>{3}));
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 1) << "a picture inside the deleted rows goes";
    EXPECT_NEAR(pictures[0].rect.top, secondTop - (15 + 30 + 15), 0.01);

    // And the result survives a save and a new reading.
    Workbook again = Workbook::fromBytes(book.toBytes(), u"again"_s);
    EXPECT_EQ(again.cellText(2, 2), u"1-2"_s);
    EXPECT_EQ(again.pictures().size(), 1);
}

TEST(Workbook, TextStaysTextAndAnyCharacterRoundTrips) {
    Workbook book = Workbook::createBlank({u"S"_s});
    const QStringList texts = {u"1-2"_s,     u"007"_s,        u"=A1"_s,
                               u"<a>&\"'"_s, u"tab\there"_s,  u"bell\u0007cr\r"_s,
                               u"_x0041_"_s, u"  spaced  "_s, u"〜①髙"_s};
    for (int i = 0; i < texts.size(); ++i)
        book.setText(i + 1, 1, texts[i]);
    book.setNumber(1, 2, 1234.5, u"#,##0.000"_s);
    book.setText(1, 3, QString(QChar(0xD800))); // a lone surrogate
    Workbook again = Workbook::fromBytes(book.toBytes(), u"again"_s);
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(again.cellText(i + 1, 1), texts[i]);
    EXPECT_EQ(again.cellText(1, 2), u"1234.5"_s);
    EXPECT_EQ(again.cellText(1, 3), QString(QChar(0xFFFD)));
}

TEST(Workbook, SheetCopiesNamesAndDeletion) {
    Workbook book = blockBook();
    const int copy = book.copySheetBefore(1);
    EXPECT_EQ(copy, 1);
    EXPECT_EQ(book.sheetName(1), u"Block (2)"_s);
    EXPECT_EQ(book.sheetName(2), u"Block"_s);
    book.activate(book.copySheetBefore(2));
    EXPECT_EQ(book.sheetName(2), u"Block (3)"_s);
    EXPECT_EQ(book.pictures().size(), 1) << "drawings go with the copy";
    book.setText(1, 1, u"changed"_s);
    book.activate(book.sheetIndex(u"Block"_s));
    EXPECT_EQ(book.cellText(1, 1), u"head"_s) << "the copy is its own sheet";

    EXPECT_THROW(book.renameSheet(1, u"block"_s), AppError) << "names are unique ignoring case";
    EXPECT_THROW(book.renameSheet(1, u"a/b"_s), AppError);
    EXPECT_THROW(book.renameSheet(1, QString(32, u'x')), AppError);
    EXPECT_THROW(book.renameSheet(1, QString()), AppError);
    book.renameSheet(1, u"現地踏査"_s);
    EXPECT_EQ(book.validSheetName(u"a:b/c"_s), u"a_b_c"_s);
    EXPECT_EQ(book.validSheetName(u"現地踏査"_s), u"現地踏査 (2)"_s);
    EXPECT_EQ(book.validSheetName(QString(40, u'y')).size(), 31);

    book.deleteSheet(book.sheetIndex(u"Block"_s));
    EXPECT_EQ(book.sheetIndex(u"Block"_s), 0);
    Workbook again = Workbook::fromBytes(book.toBytes(), u"again"_s);
    EXPECT_EQ(again.sheetCount(), 3);
    again.activate(again.sheetIndex(u"Block (3)"_s));
    EXPECT_EQ(again.cellText(1, 1), u"changed"_s);
    EXPECT_EQ(again.pictures().size(), 1);
}

TEST(Workbook, UntouchedPartsAreWrittenBackByteForByte) {
    Workbook book = blockBook();
    const QByteArray first = book.toBytes();
    const XlsxPackage original = XlsxPackage::fromZip(first, u"first"_s);
    Workbook opened = Workbook::fromBytes(first, u"first"_s);
    opened.activate(2);
    opened.setText(1, 1, u"only the second sheet changes"_s);
    opened.cellText(1, 1);
    const XlsxPackage written = XlsxPackage::fromZip(opened.toBytes(), u"second"_s);
    for (const std::string& name : original.names()) {
        if (name == "xl/worksheets/sheet2.xml") continue;
        if (name == "xl/workbook.xml" || name.find("sheet1.xml") != std::string::npos)
            continue; // tab selection
        EXPECT_EQ(written.bytes(name), original.bytes(name)) << name;
    }
}

TEST(Workbook, BadFilesAreRefusedNamingTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"bad.xlsx"_s);
    for (const QByteArray& bytes : {QByteArray("not a zip"), QByteArray()}) {
        try {
            Workbook::fromBytes(bytes, path);
            ADD_FAILURE();
        } catch (const AppError& error) {
            EXPECT_TRUE(error.message().contains(path));
        }
    }
    EXPECT_THROW(Workbook::open(dir.filePath(u"missing.xlsx"_s)), AppError);
}

TEST(Workbook, HairlineBordersAndPositionsOutsideTheSheetAreRefused) {
    Workbook book = Workbook::createBlank({u"S"_s});
    book.setBottomHairline(2, 2, 2, 4);
    EXPECT_NO_THROW(Workbook::fromBytes(book.toBytes(), u"x"_s));
    EXPECT_THROW(book.setText(0, 1, u"x"_s), AppError);
    EXPECT_THROW(book.setText(1, 20000, u"x"_s), AppError);
    EXPECT_THROW(book.addPicture({-5, 0, 10, 10}, jpeg(), u"jpeg"_s), AppError);
    EXPECT_THROW(book.pasteRows(1), AppError) << "nothing was copied";
}
