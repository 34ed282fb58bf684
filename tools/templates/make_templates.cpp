// Writes the shipped template workbooks from the layout the output code uses.
#include "excel/album_layout.h"
#include "report_templates.h"
#include "survey/real_estate_layout.h"
#include "xlsx/workbook.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <map>

using namespace Qt::StringLiterals;
using namespace AlbumLayout;

namespace {

void albumSheet(Workbook& book, bool a3) {
    const int columns = a3 ? 7 : 5;
    for (int c = 1; c <= columns; ++c)
        setColumnPixels(book, c, ColumnPixels[size_t(c - 1)]);
    for (int r = 1; r <= BlockRows; ++r)
        book.setRowHeight(r, BandRowHeights[size_t((r - 1) % BandRows)]);
    CellStyle line;
    line.fontName = TextFont;
    line.fontSize = 11;
    line.left = line.right = line.top = line.bottom = true;
    line.verticalCenter = line.shrinkToFit = true;
    const int lineStyle = book.addCellStyle(line);
    std::map<int, int> edgeStyles; // by the sides drawn
    // The frame of a picture area: thin lines along its outer cells.
    const auto frame = [&](int firstColumn, int lastColumn, int band) {
        const int top = BandRows * band + 2, bottom = BandRows * band + BandRows - 1;
        for (int r = top; r <= bottom; ++r)
            for (int c = firstColumn; c <= lastColumn; ++c) {
                CellStyle edge;
                edge.left = c == firstColumn;
                edge.right = c == lastColumn;
                edge.top = r == top;
                edge.bottom = r == bottom;
                const int key = edge.left | edge.right << 1 | edge.top << 2 | edge.bottom << 3;
                if (key == 0) continue;
                if (!edgeStyles.count(key)) edgeStyles[key] = book.addCellStyle(edge);
                book.setCellStyle(r, c, edgeStyles[key]);
            }
    };
    for (int band = 0; band < 3; ++band) {
        frame(2, 4, band);
        if (a3) frame(6, 6, band);
        for (int g = 1; g <= LinesPerPhoto; ++g) {
            book.setCellStyle(BandRows * band + 2 + g, LeftTextColumn, lineStyle);
            if (a3) book.setCellStyle(BandRows * band + 2 + g, RightTextColumn, lineStyle);
        }
    }
    book.addRowBreak(BlockRows);
    fitPage(book, {a3, a3 ? 8 : 9, 100, 0.4, false}, BlockRows, columns);
}

// The real-estate report's sheet: a heading row, then one page of three bands of two photo
// slots, each slot framed where its picture goes.
void realEstateSheet(Workbook& book) {
    namespace L = RealEstateLayout;
    for (int c = 1; c <= int(L::ColumnPixels.size()); ++c)
        setColumnPixels(book, c, L::ColumnPixels[size_t(c - 1)]);
    for (int r = 1; r < L::FirstPageRow + L::PageRows; ++r)
        book.setRowHeight(r, L::RowHeight);
    CellStyle heading;
    heading.fontName = HeadingFont;
    heading.fontSize = 14;
    book.setCellStyle(L::HeadingRow, 2, book.addCellStyle(heading));
    book.setText(L::HeadingRow, 2, u"不動産報告書"_s);
    CellStyle label;
    label.fontName = TextFont;
    book.setCellStyle(L::HeadingRow, 4, book.addCellStyle(label));
    book.setText(L::HeadingRow, 4, u"地番："_s);
    std::map<int, int> edgeStyles;
    for (int s = 0; s < L::SlotsPerPage; ++s) {
        // The slot as it lies on the template page (page 0 of the numbering).
        const L::Slot slot = L::slot(0, s);
        const int top = slot.baseRow + 3, bottom = slot.baseRow + 13;
        for (int r = top; r <= bottom; ++r)
            for (int c = slot.column; c <= slot.column + 3; ++c) {
                CellStyle edge;
                edge.left = c == slot.column;
                edge.right = c == slot.column + 3;
                edge.top = r == top;
                edge.bottom = r == bottom;
                const int key = edge.left | edge.right << 1 | edge.top << 2 | edge.bottom << 3;
                if (key == 0) continue;
                if (!edgeStyles.count(key)) edgeStyles[key] = book.addCellStyle(edge);
                book.setCellStyle(r, c, edgeStyles[key]);
            }
    }
    book.addRowBreak(L::FirstPageRow + L::PageRows - 1);
    fitPage(book, {false, 9, 100, 0.25, false}, L::FirstPageRow + L::PageRows - 1,
            int(L::ColumnPixels.size()));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: make_templates OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir folder(app.arguments().at(1));
    QDir().mkpath(folder.path());
    Workbook album = Workbook::createBlank({SheetA3, SheetA4});
    album.activate(1);
    albumSheet(album, true);
    album.activate(2);
    albumSheet(album, false);
    album.activate(1);
    album.save(folder.filePath(TemplateName + u".xlsx"_s));
    Workbook realEstate = Workbook::createBlank({RealEstateLayout::SheetName});
    realEstate.activate(1);
    realEstateSheet(realEstate);
    realEstate.save(folder.filePath(RealEstateLayout::TemplateName + u".xlsx"_s));
    writeFieldReportTemplates(folder);
    writePointRecordTemplate(folder);
    return 0;
}
