// Column widths and page setup shared by every template.
#include "report_templates.h"
#include "xlsx/digit_width.h"
#include "xlsx/workbook.h"

#include <algorithm>
#include <cmath>

void setColumnPixels(Workbook& book, int column, double pixels) {
    const StandardFont standard;
    book.setColumnWidth(column, pixels / DigitWidth::pixels(standard.name, standard.size));
}

void fitPage(Workbook& book, PageSetup setup, int lastRow, int lastColumn) {
    // Programs that lay the standard font out from its unrounded digits make columns up to this
    // much wider than Excel does.
    constexpr double WiderColumns = 1.07;
    // Paper in points, portrait: A3 (8) and A4 (9).
    double paperWidth = setup.paperSize == 8 ? 841.89 : 595.28;
    double paperHeight = setup.paperSize == 8 ? 1190.55 : 841.89;
    if (setup.landscape) std::swap(paperWidth, paperHeight);
    const double margins = 2 * setup.marginInches * 72;
    double width = 0, height = 0;
    for (int c = 1; c <= lastColumn; ++c)
        width += book.columnWidth(c);
    for (int r = 1; r <= lastRow; ++r)
        height += book.rowHeight(r);
    const double widthFit = (paperWidth - margins) / width, heightFit = (paperHeight - margins) / height;
    // A page as wide as the paper is fitted to its width by the program that prints it, which
    // knows its own columns; a page as tall is scaled so that its rows, in points everywhere,
    // fit, leaving room for wider columns.
    setup.fitToWidth = widthFit < heightFit;
    const double fit = setup.fitToWidth ? widthFit : std::min(heightFit, widthFit / WiderColumns);
    setup.scale = std::min(100, int(std::floor(fit * 100)));
    book.setPageSetup(setup);
    book.setPrintArea(lastRow, lastColumn);
}
