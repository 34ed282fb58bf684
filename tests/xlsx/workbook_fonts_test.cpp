// Column geometry from the workbook's own standard font, the cell text limit, GIF pictures and
// print areas.
#include "xlsx/digit_width.h"
#include "xlsx/picture_prep.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray jpeg() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(&buffer, "JPEG");
    return bytes;
}

// A GIF of stripes in two colours. Qt writes no GIF: the codes are kept at 8 bits by clearing the
// table every 126 pixels, so every code is one byte.
QByteArray stripedGif(int width, int height) {
    QByteArray gif("GIF89a");
    const auto word = [&](int value) { gif.append(char(value & 0xFF)).append(char(value >> 8)); };
    word(width);
    word(height);
    gif.append(char(0xF6)).append('\0').append('\0'); // a table of 128 colours
    for (int i = 0; i < 128; ++i)
        gif.append(i == 1 ? QByteArray("\x00\x00\xFF", 3) : QByteArray("\xFF\x00\x00", 3));
    gif.append(',');
    word(0);
    word(0);
    word(width);
    word(height);
    gif.append('\0').append(char(7));
    QByteArray codes;
    for (int i = 0; i < width * height; ++i) {
        if (i % 126 == 0) codes.append(char(128));
        codes.append(char((i % width / 3) % 2));
    }
    codes.append(char(129));
    for (qsizetype at = 0; at < codes.size(); at += 255)
        gif.append(char(qMin<qsizetype>(255, codes.size() - at))).append(codes.mid(at, 255));
    return gif.append('\0').append(';');
}

// The anchor's end as the file stores it: column from 0 and the offset in points.
std::pair<int, double> anchorEnd(const Workbook& book) {
    XlsxPackage package = XlsxPackage::fromZip(book.toBytes(), u"x"_s);
    pugi::xml_node to = package.xml("xl/drawings/drawing1.xml", false)
                            .child("xdr:wsDr")
                            .child("xdr:twoCellAnchor")
                            .child("xdr:to");
    return {to.child("xdr:col").text().as_int(), to.child("xdr:colOff").text().as_double() / 12700};
}

} // namespace

TEST(WorkbookFonts, DigitWidthsOfTheFontsOfficesUse) {
    struct Case {
        QString font;
        double points;
        int pixels;
    };
    const Case cases[] = {
        {u"ＭＳ Ｐゴシック"_s, 11, 8},
        {u"MS PGothic"_s, 11, 8},
        {u"ＭＳ ゴシック"_s, 11, 8},
        {u"ＭＳ 明朝"_s, 11, 8},
        {u"游ゴシック"_s, 11, 8},
        {u"Yu Gothic"_s, 11, 8},
        {u"メイリオ"_s, 11, 9},
        {u"Calibri"_s, 11, 7},
        {u"calibri"_s, 22, 14},
        {u"ＭＳ Ｐゴシック"_s, 22, 16},
        // Neither known nor installed: taken as Calibri.
        {u"Nowhere Sans"_s, 11, 7},
        // Installed here and not in the table: its own digits, half an em at 15 pixels.
        {u"IPAGothic"_s, 11, 8},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DigitWidth::pixels(c.font, c.points), c.pixels) << c.font.toStdString() << " " << c.points;
}

TEST(WorkbookFonts, PicturesAreAnchoredByTheColumnsOfTheStandardFont) {
    // Japanese Excel's default column is 8.38 characters, 72 pixels, stored as 9.00390625: a
    // picture 150 points wide ends 42 points into the third column of 54 points. Under Calibri
    // the same width is 63 pixels and the picture ends in the fourth column.
    struct Case {
        StandardFont font;
        int column;
        double offset;
    };
    const Case cases[] = {{{u"ＭＳ Ｐゴシック"_s, 11}, 2, 150 - 2 * 54},
                          {{u"Calibri"_s, 11}, 3, 150 - 3 * 47.25}};
    for (const Case& c : cases) {
        Workbook book = Workbook::createBlank({u"S"_s}, c.font);
        for (int column = 1; column <= 5; ++column)
            book.setColumnWidth(column, 9.00390625);
        book.addPicture({0, 0, 150, 100}, jpeg(), u"jpeg"_s);
        const auto [column, offset] = anchorEnd(book);
        EXPECT_EQ(column, c.column) << c.font.name.toStdString();
        EXPECT_NEAR(offset, c.offset, 0.01) << c.font.name.toStdString();
        // The standard font is read back from the file, not remembered.
        Workbook again = Workbook::fromBytes(book.toBytes(), u"again"_s);
        EXPECT_NEAR(again.columnWidth(1), c.font.name == u"Calibri"_s ? 47.25 : 54, 0.01);
        EXPECT_NEAR(again.columnWidth(9), c.font.name == u"Calibri"_s ? 48 : 54, 0.01) << "default width";
    }
}

TEST(WorkbookFonts, TextPastTheCellLimitIsCutAndNamedWhereItEndsUp) {
    Workbook book = Workbook::createBlank({u"S"_s, u"T"_s});
    const QString tooLong = QString(Workbook::MaxCellText - 1, u'a') + u"𠀋b"_s;
    book.setText(3, 2, u"x"_s);
    book.setText(3, 2, tooLong);
    EXPECT_EQ(book.cellText(3, 2), QString(Workbook::MaxCellText - 1, u'a')) << "no half character";
    book.setText(4, 1, QString(Workbook::MaxCellText, u'c'));
    EXPECT_EQ(book.cellText(4, 1).size(), Workbook::MaxCellText);
    EXPECT_EQ(book.shortenedNote(),
              u"セルに入る 32,767 文字を超えたため、後ろを切り捨てた文字列があります: S!B3"_s);

    // Copies repeat the cut cell; deleted rows take it along; shorter text writes it over.
    book.copyRows(3, 3);
    book.pasteRows(10);
    book.deleteRows(1, 2);
    book.activate(2);
    book.setText(1, 1, QString(40000, u'd'));
    book.setText(1, 1, u"short"_s);
    EXPECT_TRUE(book.shortenedNote().endsWith(u": S!B1、S!B8"_s)) << book.shortenedNote().toStdString();
    book.deleteSheet(1);
    EXPECT_EQ(book.shortenedNote(), QString());
    // Many cut cells are named in part.
    for (int row = 1; row <= 12; ++row)
        book.setText(row, 1, tooLong);
    EXPECT_TRUE(book.shortenedNote().endsWith(u"T!A10 ほか 2 か所"_s)) << book.shortenedNote().toStdString();
}

TEST(WorkbookFonts, AGifThatFitsItsFrameGoesInUnchanged) {
    QTemporaryDir dir;
    const QByteArray original = stripedGif(300, 200);
    const QString path = dir.filePath(u"p.gif"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(original);
    file.close();
    ASSERT_EQ(QImage(path).size(), QSize(300, 200));

    const PreparedPicture fits = preparePicture({path, QSize(400, 300)});
    EXPECT_EQ(fits.extension, u"gif"_s);
    EXPECT_EQ(fits.bytes, original);
    const PreparedPicture shrunk = preparePicture({path, QSize(150, 100)});
    EXPECT_EQ(shrunk.extension, u"png"_s);
    EXPECT_EQ(QImage::fromData(shrunk.bytes).size(), QSize(150, 100));

    Workbook book = Workbook::createBlank({u"S"_s});
    book.addPicture({0, 0, 100, 60}, fits.bytes, fits.extension);
    const QByteArray bytes = book.toBytes();
    XlsxPackage package = XlsxPackage::fromZip(bytes, u"x"_s);
    EXPECT_EQ(package.bytes("xl/media/image1.gif"), original);
    EXPECT_TRUE(package.bytes("[Content_Types].xml").contains(R"(Extension="gif" ContentType="image/gif")"));
}

TEST(WorkbookFonts, ThePrintAreaIsReplacedAndItsColumnsReadBack) {
    Workbook book = Workbook::createBlank({u"写真 帳"_s, u"T"_s});
    EXPECT_EQ(book.printAreaLastColumn(), 0);
    book.setText(2, 3, u"x"_s);
    book.addPicture({0, 0, 200, 20}, jpeg(), u"jpeg"_s); // into the fourth column of 48 points
    book.setPrintArea(40);
    EXPECT_EQ(book.printAreaLastColumn(), 5);
    book.setPrintArea(90, 7);
    book.activate(2);
    EXPECT_EQ(book.printAreaLastColumn(), 0) << "each sheet has its own";
    book.setPrintArea(1, 1);
    XlsxPackage package = XlsxPackage::fromZip(book.toBytes(), u"x"_s);
    const QByteArray names = package.bytes("xl/workbook.xml");
    EXPECT_TRUE(names.contains(
        R"(<definedName name="_xlnm.Print_Area" localSheetId="0">'写真 帳'!$A$1:$G$90</definedName>)"))
        << names.toStdString();
    EXPECT_TRUE(names.contains(R"(localSheetId="1">'T'!$A$1:$A$1</definedName>)")) << names.toStdString();
    EXPECT_LT(names.indexOf("</sheets>"), names.indexOf("<definedNames>"));
}
