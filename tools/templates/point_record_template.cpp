// The point record template, built from the layout the point record code uses.
#include "excel/point_record_layout.h"
#include "report_templates.h"
#include "xlsx/workbook.h"

using namespace Qt::StringLiterals;
namespace L = PointRecordLayout;

namespace {

struct Styles {
    int text = 0, label = 0, title = 0;
};

// A label cell and the merged value cell beside it.
void labelled(Workbook& book, const Styles& s, int row, int labelColumn, int labelSpan,
              const QString& caption, int valueSpan) {
    book.setCellStyle(row, labelColumn, s.label);
    book.setText(row, labelColumn, caption);
    if (labelSpan > 1) book.mergeCells({row, labelColumn, row, labelColumn + labelSpan - 1});
    const int value = labelColumn + labelSpan;
    for (int c = value; c < value + valueSpan; ++c)
        book.setCellStyle(row, c, s.text);
    if (valueSpan > 1) book.mergeCells({row, value, row, value + valueSpan - 1});
}

void band(Workbook& book, const Styles& s, int base, int c) {
    // Labels sit in the row above the first text row's three cells.
    for (const auto& [offset, caption] : {std::pair{0, u"路線名"_s}, {4, u"点名"_s}, {8, u"杭種"_s}}) {
        book.setCellStyle(base + 3, c + offset, s.label);
        book.setText(base + 3, c + offset, caption);
    }
    for (int k : {0, 4, 8}) {
        const int span = k == 0 ? 3 : 4;
        for (int col = c + k; col < c + k + span; ++col)
            book.setCellStyle(base + 4, col, s.text);
        book.mergeCells({base + 4, c + k, base + 4, c + k + span - 1});
    }
    book.setCellStyle(base + 4, c + 3, s.label);
    labelled(book, s, base + 5, c, 3, u"所在地"_s, 9);
    labelled(book, s, base + 6, c, 3, u"Ｘ"_s, 9);
    labelled(book, s, base + 7, c, 3, u"Ｙ"_s, 9);
    labelled(book, s, base + 8, c, 3, u"Ｈ"_s, 9);
}

} // namespace

void writePointRecordTemplate(const QDir& folder) {
    Workbook book = Workbook::createBlank({L::SheetName});
    book.activate(1);
    for (int c = 1; c <= L::Columns; ++c)
        setColumnPixels(book, c, L::ColumnPoints * 4.0 / 3.0);
    Styles s;
    CellStyle text;
    text.fontName = TextFont;
    text.fontSize = 10;
    text.left = text.right = text.top = text.bottom = true;
    text.verticalCenter = text.shrinkToFit = true;
    s.text = book.addCellStyle(text);
    CellStyle label = text;
    label.shrinkToFit = true;
    s.label = book.addCellStyle(label);
    CellStyle title;
    title.fontName = HeadingFont;
    title.fontSize = 14;
    title.verticalCenter = true;
    s.title = book.addCellStyle(title);

    for (int r = 1; r <= 3; ++r)
        book.setRowHeight(r, L::HeadingRowHeight);
    book.setCellStyle(1, 1, s.title);
    book.setText(1, 1, u"点の記"_s);
    labelled(book, s, L::WorkNameRow, 1, 1, u"作業名"_s, 11);
    for (int b = 0; b < 2; ++b) {
        const int base = L::BandRows * b;
        for (int k = 4; k <= 8; ++k)
            book.setRowHeight(base + k, L::TextRowHeight);
        book.setRowHeight(base + 9, L::GapRowHeight);
        for (int k = 10; k <= 17; ++k)
            book.setRowHeight(base + k, L::PictureRowHeight);
        book.setRowHeight(base + 18, L::ClosingRowHeight);
        band(book, s, base, 1);
        band(book, s, base, 13);
    }
    labelled(book, s, L::InspectorRow, L::InspectorColumn - 3, 3, u"点検者"_s, 5);
    book.addRowBreak(L::PageRows);
    fitPage(book, {false, 9, 100, 0.3, false}, L::PageRows, L::Columns);
    book.save(folder.filePath(L::TemplateName + u".xlsx"_s));
}
