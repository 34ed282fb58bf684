#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace Qt::StringLiterals;

// The engine keeps what it has worked out (row tops, relationship and shape ids, anchors, merges,
// breaks, the sheet list, finished sheets) between edits, so that a book of thousands of rows or
// sheets is built in linear time. Whatever it keeps must never show: each edit must give the same
// book as on a copy freshly read from the saved bytes, which has nothing kept.

namespace {

QByteArray jpeg() {
    return QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000ffd9");
}

std::map<std::string, QByteArray> parts(const Workbook& book) {
    const XlsxPackage package = XlsxPackage::fromZip(book.toBytes(), u"parts"_s);
    std::map<std::string, QByteArray> all;
    for (const std::string& name : package.names())
        all[name] = package.bytes(name);
    return all;
}

// The first part that differs, with both texts; empty when the books agree.
std::string firstDifference(const std::map<std::string, QByteArray>& a,
                            const std::map<std::string, QByteArray>& b) {
    for (const auto& [name, bytes] : a) {
        const auto other = b.find(name);
        if (other == b.end()) return name + " only in the first";
        if (other->second != bytes)
            return name + ":\n" + bytes.toStdString() + "\n---\n" + other->second.toStdString();
    }
    for (const auto& [name, bytes] : b)
        if (!a.count(name)) return name + " only in the second";
    return {};
}

// A blank book with names of the kinds templates carry: a print area and titles local to a sheet,
// and names of the book referring to one sheet, two, a quoted name and a name in another case.
Workbook bookWithNames() {
    XlsxPackage package = XlsxPackage::fromZip(
        Workbook::createBlank({u"写真"_s, u"点"_s, u"it's"_s, u"Sheet"_s}).toBytes(), u"names"_s);
    pugi::xml_node workbook = package.xml("xl/workbook.xml").child("workbook");
    pugi::xml_node names = workbook.insert_child_after("definedNames", workbook.child("sheets"));
    const auto name = [&](const char* id, const char* formula, int local = -1) {
        pugi::xml_node n = names.append_child("definedName");
        n.append_attribute("name") = id;
        if (local >= 0) n.append_attribute("localSheetId") = local;
        n.text().set(formula);
    };
    name("_xlnm.Print_Area", "'写真'!$A$1:$H$40", 0);
    name("_xlnm.Print_Titles", "点!$1:$3", 1);
    name("範囲", "'写真'!$B$2:$C$30,点!$A$5");
    name("引用", "'it''s'!$A$1:$B$9");
    name("大文字", "SHEET!$A$10:$A$20");
    return Workbook::fromBytes(package.toZip(), u"names"_s);
}

// One edit chosen and sized by `random`, so that two books given equal generators make equal edits.
std::string edit(Workbook& book, std::mt19937& random) {
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    const int sheets = book.sheetCount();
    switch (pick(0, 12)) {
    case 0:
        book.setRowHeight(pick(1, 60), pick(5, 40));
        return "height";
    case 1:
        book.addPicture(
            {double(pick(0, 200)), double(pick(0, 900)), double(pick(5, 80)), double(pick(5, 120))}, jpeg(),
            u"jpeg"_s);
        return "picture";
    case 2: {
        const int first = pick(1, 50);
        book.copyRows(first, first + pick(0, 12));
        book.pasteRows(pick(1, 70));
        return "paste";
    }
    case 3: {
        const int first = pick(1, 50);
        book.deleteRows(first, first + pick(0, 8));
        return "delete rows";
    }
    case 4: {
        const int row = pick(1, 60), column = pick(1, 6);
        book.mergeCells({row, column, row + pick(0, 4), column + pick(0, 2)});
        return "merge";
    }
    case 5:
        book.addRowBreak(pick(1, 70));
        return "break";
    case 6:
        if (sheets < 7) book.copySheetBefore(pick(1, sheets));
        return "copy sheet";
    case 7:
        if (sheets > 1) book.deleteSheet(pick(1, sheets));
        return "delete sheet";
    case 8: {
        const int sheet = pick(1, sheets);
        const QString wanted = pick(0, 3) == 0 ? u"sheet"_s : u"画地"_s + QString::number(pick(1, 9));
        book.renameSheet(sheet, book.validSheetName(wanted));
        return "rename";
    }
    case 9:
        book.activate(pick(1, sheets));
        return "activate";
    case 10:
        book.setAside(pick(1, sheets));
        return "set aside";
    case 11:
        book.setPrintArea(pick(1, 80), pick(0, 8));
        return "print area";
    default:
        book.setText(pick(1, 70), pick(1, 8), u"点"_s + QString::number(pick(1, 999)));
        return "text";
    }
}

} // namespace

TEST(WorkbookKeptState, EveryEditGivesTheBookAFreshReadingGives) {
    std::mt19937 seeds(2026);
    Workbook live = bookWithNames();
    std::string history;
    for (int step = 0; step < 150; ++step) {
        Workbook fresh = Workbook::fromBytes(live.toBytes(), u"fresh"_s);
        fresh.activate(live.activeSheet());
        const auto seed = seeds();
        std::mt19937 forLive(seed), forFresh(seed);
        history += edit(live, forLive) + ", ";
        edit(fresh, forFresh);
        ASSERT_EQ(firstDifference(parts(live), parts(fresh)), "") << "after " << history;
        ASSERT_EQ(live.pictures().size(), fresh.pictures().size());
        ASSERT_EQ(live.printAreaLastColumn(), fresh.printAreaLastColumn());
    }
}

TEST(WorkbookKeptState, PicturesBelowFollowHeightsChangedAboveThem) {
    Workbook book = Workbook::createBlank({u"S"_s});
    book.addPicture({0, 300, 10, 10}, jpeg(), u"jpeg"_s); // row 21 at the default 15 pt
    book.setRowHeight(1, 165);                            // rows 1 and 2..11 now reach 315 pt
    book.addPicture({0, 300, 10, 10}, jpeg(), u"jpeg"_s);
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 2);
    EXPECT_NEAR(pictures[0].rect.top, 450, 0.01) << "the first anchor stays in its cell";
    EXPECT_NEAR(pictures[1].rect.top, 300, 0.01) << "the second is placed from the new heights";
}
