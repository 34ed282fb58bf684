#include "base/app_error.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

QByteArray jpeg() {
    return QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffd9");
}

// The workbook's defined names as name → formula (local ones as "name@sheetIndex").
std::map<QString, QString> definedNames(const Workbook& book) {
    const XlsxPackage package = XlsxPackage::fromZip(book.toBytes(), u"names"_s);
    std::map<QString, QString> names;
    for (pugi::xml_node n :
         package.xml("xl/workbook.xml").child("workbook").child("definedNames").children("definedName")) {
        QString key = QString::fromUtf8(n.attribute("name").value());
        if (n.attribute("localSheetId")) key += u'@' + QString::number(n.attribute("localSheetId").as_int());
        names[key] = QString::fromUtf8(n.text().get());
    }
    return names;
}

// The book with these defined names added, as another program would have written them.
Workbook withNames(const Workbook& book,
                   const std::vector<std::tuple<const char*, int, const char*>>& names) {
    XlsxPackage package = XlsxPackage::fromZip(book.toBytes(), u"names"_s);
    pugi::xml_node workbook = package.xml("xl/workbook.xml").child("workbook");
    pugi::xml_node list = workbook.insert_child_after("definedNames", workbook.child("sheets"));
    for (const auto& [name, local, formula] : names) {
        pugi::xml_node n = list.append_child("definedName");
        n.append_attribute("name") = name;
        if (local >= 0) n.append_attribute("localSheetId") = local;
        n.text().set(formula);
    }
    return Workbook::fromBytes(package.toZip(), u"names"_s);
}

bool overlap(const CellRef::Range& a, const CellRef::Range& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstColumn <= b.lastColumn &&
           b.firstColumn <= a.lastColumn;
}

// The anchor cells of the active sheet's pictures: (from col, from col offset, from row, from row
// offset, to ...), offsets in points.
QList<QList<double>> anchors(const Workbook& book) {
    const XlsxPackage package = XlsxPackage::fromZip(book.toBytes(), u"anchors"_s);
    QList<QList<double>> list;
    for (const std::string& name : package.names()) {
        if (name.rfind("xl/drawings/drawing", 0) != 0) continue;
        for (pugi::xml_node a : package.xml(name).document_element().children("xdr:twoCellAnchor")) {
            QList<double> values;
            for (const char* end : {"xdr:from", "xdr:to"}) {
                pugi::xml_node m = a.child(end);
                values << m.child("xdr:col").text().as_int()
                       << m.child("xdr:colOff").text().as_llong() / 12700.0
                       << m.child("xdr:row").text().as_int()
                       << m.child("xdr:rowOff").text().as_llong() / 12700.0;
            }
            pugi::xml_node off = a.select_node(".//a:off").node();
            values << off.attribute("y").as_llong() / 12700.0;
            list << values;
        }
    }
    return list;
}

} // namespace

TEST(WorkbookRows, PastingOverlappingRowsReadsTheSourceAsItWasAndNeverOverlapsMerges) {
    Workbook book = Workbook::createBlank({u"S"_s});
    for (int r = 1; r <= 8; ++r)
        book.setText(r, 1, u"r"_s + QString::number(r));
    book.setRowHeight(1, 40);
    book.mergeCells({1, 2, 1, 3}); // inside the copied block
    book.mergeCells({3, 4, 5, 4}); // crosses the block's lower edge: not copied, and pasted over
    book.mergeCells({6, 1, 8, 1}); // lies partly under the second paste
    book.copyRows(1, 3);
    book.pasteRows(2); // the block lands on itself, one row lower
    EXPECT_EQ(book.cellText(1, 1), u"r1"_s);
    EXPECT_EQ(book.cellText(2, 1), u"r1"_s);
    EXPECT_EQ(book.cellText(3, 1), u"r2"_s);
    EXPECT_EQ(book.cellText(4, 1), u"r3"_s);
    EXPECT_EQ(book.cellText(5, 1), u"r5"_s);
    EXPECT_DOUBLE_EQ(book.rowHeight(2), 40);
    EXPECT_DOUBLE_EQ(book.rowHeight(3), 15);

    book.copyRows(1, 2);
    book.pasteRows(6);
    EXPECT_EQ(book.cellText(7, 1), u"r1"_s);
    EXPECT_EQ(book.cellText(8, 1), u"r8"_s);
    const auto merges = book.merges();
    for (qsizetype i = 0; i < merges.size(); ++i)
        for (qsizetype j = i + 1; j < merges.size(); ++j)
            EXPECT_FALSE(overlap(merges[i], merges[j]))
                << "overlapping merges make a file spreadsheet programs refuse: " << i << " " << j;
    QStringList texts;
    for (const auto& m : merges)
        texts << QString::fromStdString(CellRef::rangeText(m));
    texts.sort();
    EXPECT_EQ(texts, (QStringList{u"B1:C1"_s, u"B2:C2"_s, u"B6:C6"_s, u"B7:C7"_s}));
}

TEST(WorkbookRows, DeletingRowsShrinksMergesMovesBreaksHeightsAndNames) {
    Workbook blank = Workbook::createBlank({u"Sheet A"_s, u"旧Sheet A"_s});
    Workbook book = withNames(blank, {{"Block", -1, "'Sheet A'!$A$5:$B$6"},
                                      {"Inside", -1, "'Sheet A'!$B$3"},
                                      {"Print_Titles", 0, "'Sheet A'!$1:$2"},
                                      {"Columns", 0, "'Sheet A'!$A:$C"},
                                      {"Other", -1, "'旧Sheet A'!$A$5"},
                                      {"Sum", -1, "SUM('Sheet A'!$C$8,'Sheet A'!$C$1)"}});
    book.activate(1);
    for (int r = 1; r <= 9; ++r) {
        book.setText(r, 1, u"r"_s + QString::number(r));
        book.setRowHeight(r, 10 + r);
    }
    book.mergeCells({1, 1, 3, 1}); // keeps only row 1: no merge left
    book.mergeCells({2, 2, 6, 2}); // shrinks to rows 2-3
    book.mergeCells({5, 3, 5, 4}); // moves up to row 2
    book.mergeCells({3, 5, 4, 6}); // wholly deleted
    for (int b : {3, 4, 6})
        book.addRowBreak(b);
    book.deleteRows(2, 4);

    EXPECT_EQ(book.cellText(2, 1), u"r5"_s);
    EXPECT_DOUBLE_EQ(book.rowHeight(2), 15);
    EXPECT_EQ(book.lastRow(), 6);
    QStringList merges;
    for (const auto& m : book.merges())
        merges << QString::fromStdString(CellRef::rangeText(m));
    merges.sort();
    EXPECT_EQ(merges, (QStringList{u"B2:B3"_s, u"C2:D2"_s}));
    EXPECT_EQ(book.rowBreaks(), (QList<int>{3})) << "breaks inside the deleted rows go, later ones move up";

    const auto names = definedNames(book);
    EXPECT_EQ(names.at(u"Block"_s), u"'Sheet A'!$A$2:$B$3"_s);
    EXPECT_EQ(names.at(u"Inside"_s), u"'Sheet A'!#REF!"_s);
    EXPECT_EQ(names.at(u"Print_Titles@0"_s), u"'Sheet A'!$1:$1"_s) << "whole rows are references too";
    EXPECT_EQ(names.at(u"Columns@0"_s), u"'Sheet A'!$A:$C"_s);
    EXPECT_EQ(names.at(u"Other"_s), u"'旧Sheet A'!$A$5"_s)
        << "a sheet whose name ends alike is another sheet";
    EXPECT_EQ(names.at(u"Sum"_s), u"SUM('Sheet A'!$C$5,'Sheet A'!$C$1)"_s);
}

TEST(WorkbookRows, PicturesAreAnchoredFromRowHeightsAndColumnWidthsAndFollowDeletedRows) {
    Workbook book = Workbook::createBlank({u"S"_s});
    book.setColumnWidth(1, 10); // 70 px of 7 px digits: 52.5 pt; default columns 64 px: 48 pt
    book.setRowHeight(1, 20);
    book.setRowHeight(2, 30);
    book.addPicture({60, 25, 100, 40}, jpeg(), u"jpeg"_s);
    book.addPicture({52.5, 50, 48, 15}, jpeg(), u"jpeg"_s); // edges exactly on cell borders
    auto a = anchors(book);
    ASSERT_EQ(a.size(), 2);
    EXPECT_EQ(a[0].mid(0, 8), (QList<double>{1, 7.5, 1, 5, 3, 11.5, 3, 0}));
    EXPECT_EQ(a[1].mid(0, 8), (QList<double>{1, 0, 2, 0, 2, 0, 3, 0})) << "a border starts the next cell";
    const auto pictures = book.pictures();
    EXPECT_NEAR(pictures[0].rect.left, 60, 0.01);
    EXPECT_NEAR(pictures[0].rect.height, 40, 0.01);

    book.deleteRows(1, 1);
    a = anchors(book);
    EXPECT_EQ(a[0][2], 0);
    EXPECT_NEAR(a[0][8], 5, 0.01) << "the drawn position follows the anchor, for readers that use it";
    EXPECT_NEAR(book.pictures()[1].rect.top, 30, 0.01);
}

TEST(WorkbookSheets, CopiesKeepTheirOwnNamesAndDeletedSheetsLeaveNoDanglingReference) {
    const QString longName(30, u'長');
    Workbook book = withNames(Workbook::createBlank({u"現地踏査"_s, longName, u"R&D <1>"_s}),
                              {{"_xlnm.Print_Area", 0, "'現地踏査'!$A$1:$G$45"},
                               {"_xlnm.Print_Area", 2, "'R&D <1>'!$A$1:$B$2"},
                               {"Total", -1, "'現地踏査'!$C$3"},
                               {"Kept", -1, "'R&D <1>'!$A$1"}});
    const int copy = book.copySheetBefore(1);
    EXPECT_EQ(book.sheetName(copy), u"現地踏査 (2)"_s);
    const int longCopy = book.copySheetBefore(book.sheetIndex(longName));
    EXPECT_LE(book.sheetName(longCopy).size(), 31);
    EXPECT_TRUE(book.sheetName(longCopy).endsWith(u" (2)"_s));
    auto names = definedNames(book);
    EXPECT_EQ(names.at(u"_xlnm.Print_Area@0"_s), u"'現地踏査 (2)'!$A$1:$G$45"_s);
    EXPECT_EQ(names.at(u"_xlnm.Print_Area@1"_s), u"'現地踏査'!$A$1:$G$45"_s);
    EXPECT_EQ(names.at(u"_xlnm.Print_Area@4"_s), u"'R&D <1>'!$A$1:$B$2"_s)
        << "later sheets' names follow them";

    book.renameSheet(book.sheetIndex(u"R&D <1>"_s), u"it's"_s);
    EXPECT_THROW(book.renameSheet(1, u"'quoted'"_s), AppError);
    EXPECT_EQ(book.validSheetName(u"[a]"_s), u"_a_"_s);
    EXPECT_THROW(book.renameSheet(1, u"tab\there"_s), AppError) << "XML cannot carry it";
    EXPECT_EQ(book.validSheetName(u"地番\t12\n"_s), u"地番_12_"_s);
    book.deleteSheet(book.sheetIndex(u"現地踏査"_s));
    names = definedNames(book);
    EXPECT_EQ(names.at(u"Total"_s), u"#REF!$C$3"_s);
    EXPECT_EQ(names.at(u"Kept"_s), u"'it''s'!$A$1"_s);
    EXPECT_EQ(names.at(u"_xlnm.Print_Area@3"_s), u"'it''s'!$A$1:$B$2"_s);
    EXPECT_EQ(names.count(u"_xlnm.Print_Area@1"_s), 0u) << "the deleted sheet's own names go";

    Workbook again = Workbook::fromBytes(book.toBytes(), u"again"_s);
    EXPECT_EQ(again.sheetCount(), 4);
    EXPECT_EQ(again.sheetName(4), u"it's"_s);
    for (int i = again.sheetCount(); i > 1; --i)
        again.deleteSheet(i);
    EXPECT_THROW(again.deleteSheet(1), AppError) << "a book keeps one sheet";
}

TEST(WorkbookFiles, DamagedOrEncryptedBooksAreRefusedNamingTheFile) {
    XlsxPackage package = XlsxPackage::fromZip(Workbook::createBlank({u"S"_s}).toBytes(), u"x"_s);
    package.setBytes("xl/worksheets/sheet1.xml", "<worksheet><sheetData>");
    try {
        Workbook::fromBytes(package.toZip(), u"/albums/damaged.xlsx"_s);
        ADD_FAILURE() << "a broken sheet was accepted";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"damaged.xlsx"_s)) << error.message().toStdString();
    }

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    zip_source_keep(source);
    static const char text[] = "<Types/>";
    zip_int64_t index =
        zip_file_add(archive, "[Content_Types].xml", zip_source_buffer(archive, text, sizeof text - 1, 0), 0);
    ASSERT_EQ(zip_file_set_encryption(archive, zip_uint64_t(index), ZIP_EM_AES_256, "secret"), 0);
    ASSERT_EQ(zip_close(archive), 0);
    zip_stat_t stat;
    zip_source_stat(source, &stat);
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    zip_source_open(source);
    zip_source_read(source, bytes.data(), stat.size);
    zip_source_close(source);
    zip_source_free(source);
    try {
        Workbook::fromBytes(bytes, u"locked.xlsx"_s);
        ADD_FAILURE() << "an encrypted book was accepted";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().contains(u"locked.xlsx"_s) && e.message().contains(u"暗号化"_s))
            << e.message().toStdString();
    }
}
