// Writes the shipped template workbooks from the layout the output code uses.
#include "excel/album_layout.h"
#include "excel/workbook.h"

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
        book.setColumnWidth(c, ColumnPixels[size_t(c - 1)] / 7.0);
    for (int r = 1; r <= BlockRows; ++r)
        book.setRowHeight(r, BandRowHeights[size_t((r - 1) % BandRows)]);
    CellStyle line;
    line.fontName = u"IPAGothic"_s;
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
    book.setPageSetup({a3, a3 ? 8 : 9, a3 ? 78 : 70, 0.4, true});
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
    return 0;
}
