// Field reconnaissance, boundary point and work management templates, built from the layout the
// report code uses.
#include "excel/field_report_layout.h"
#include "report_templates.h"
#include "xlsx/workbook.h"

#include <map>

using namespace Qt::StringLiterals;
namespace L = FieldReportLayout;

namespace {

// Column widths are given in points, at 96 pixels an inch.
void setColumnPoints(Workbook& book, int column, double points) {
    setColumnPixels(book, column, points * 4.0 / 3.0);
}

class Styler {
public:
    explicit Styler(Workbook& book) : book_(book) {
        CellStyle text;
        text.fontName = TextFont;
        text.fontSize = 10;
        text.left = text.right = text.top = text.bottom = true;
        text.verticalCenter = text.shrinkToFit = true;
        text_ = book.addCellStyle(text);
        CellStyle title;
        title.fontName = HeadingFont;
        title.fontSize = 14;
        title.verticalCenter = true;
        title_ = book.addCellStyle(title);
    }
    void text(int row, int column) { book_.setCellStyle(row, column, text_); }
    void title(int row, int column) { book_.setCellStyle(row, column, title_); }
    void label(int row, int column, const QString& caption) {
        text(row, column);
        book_.setText(row, column, caption);
    }
    // Thin lines round the cells of a picture frame.
    void frame(int top, int bottom, int firstColumn, int lastColumn) {
        for (int r = top; r <= bottom; ++r)
            for (int c = firstColumn; c <= lastColumn; ++c) {
                CellStyle edge;
                edge.left = c == firstColumn;
                edge.right = c == lastColumn;
                edge.top = r == top;
                edge.bottom = r == bottom;
                const int key = edge.left | edge.right << 1 | edge.top << 2 | edge.bottom << 3;
                if (key == 0) continue;
                if (!edges_.count(key)) edges_[key] = book_.addCellStyle(edge);
                book_.setCellStyle(r, c, edges_[key]);
            }
    }

private:
    Workbook& book_;
    int text_ = 0, title_ = 0;
    std::map<int, int> edges_;
};

void reconnaissanceSheet(Workbook& book) {
    for (int c = 1; c <= int(L::ReconColumnPoints.size()); ++c)
        setColumnPoints(book, c, L::ReconColumnPoints[size_t(c - 1)]);
    Styler style(book);
    book.setRowHeight(1, L::ReconTitleHeight);
    style.title(1, 2);
    book.setText(1, 2, u"現地踏査報告"_s);
    for (int b = 0; b < 3; ++b) {
        const int r = L::ReconBandRows * b;
        for (int k = 2; k <= 4; ++k)
            book.setRowHeight(r + k, L::ReconTextRowHeight);
        for (int k = 5; k <= 14; ++k)
            book.setRowHeight(r + k, L::ReconPictureRowHeight);
        book.setRowHeight(r + 15, L::ReconGapHeight);
        style.label(r + 2, 2, u"点名"_s);
        style.label(r + 2, 4, u"種別"_s);
        style.label(r + 3, 2, u"状況"_s);
        style.label(r + 3, 4, u"備考"_s);
        style.label(r + 4, 2, u"調査者"_s);
        style.label(r + 4, 4, u"調査日"_s);
        for (int k = 2; k <= 4; ++k) {
            style.text(r + k, 3);
            style.text(r + k, 5);
        }
        style.frame(r + 5, r + 14, 2, 3);
        style.frame(r + 5, r + 14, 4, 5);
    }
    book.addRowBreak(43);
    fitPage(book, {false, 9, 100, 0.3, false}, 43, int(L::ReconColumnPoints.size()));
}

// Boundary point and work management sheets: a text cell over each band, merged across.
void pairSheet(Workbook& book, const L::Kind& kind, const std::array<double, 4>& columns,
               const std::array<double, 3>& band) {
    for (int c = 1; c <= 4; ++c)
        setColumnPoints(book, c, columns[size_t(c - 1)]);
    Styler style(book);
    const bool boundary = kind.index == 5;
    book.setRowHeight(1, boundary ? L::BoundaryHeadingHeight : L::WorkRow1Height);
    style.title(1, 2);
    book.setText(1, 2, kind.templateKind);
    int firstBand = kind.firstBlockRow;
    if (!boundary) {
        book.setRowHeight(2, L::WorkHeadingHeight);
        style.title(2, 2);
        book.setText(2, 2, u"作業内容・撮影箇所は各写真の上の欄に記入"_s);
        ++firstBand;
    }
    const int bands = kind.capacity / 2;
    for (int b = 0; b < bands; ++b) {
        const int r = firstBand + 3 * b;
        for (int k = 0; k < 3; ++k)
            book.setRowHeight(r + k, band[size_t(k)]);
        style.text(r, 2);
        book.mergeCells({r, 2, r, 4});
        style.frame(r + 1, r + 1, 2, 2);
        style.frame(r + 1, r + 1, 4, 4);
    }
    book.addRowBreak(kind.lastBlockRow);
    fitPage(book, {false, 9, 100, 0.3, false}, kind.lastBlockRow, int(columns.size()));
}

} // namespace

void writeFieldReportTemplates(const QDir& folder) {
    Workbook recon = Workbook::createBlank({L::Reconnaissance});
    recon.activate(1);
    reconnaissanceSheet(recon);
    recon.save(folder.filePath(L::Reconnaissance + u"ORG.xlsx"_s));
    Workbook boundary = Workbook::createBlank({L::BoundaryPoints});
    boundary.activate(1);
    pairSheet(boundary, L::kind(5), L::BoundaryColumnPoints, L::BoundaryBandHeights);
    boundary.save(folder.filePath(L::BoundaryPoints + u"ORG.xlsx"_s));
    Workbook work = Workbook::createBlank({L::WorkManagement});
    work.activate(1);
    pairSheet(work, L::kind(6), L::WorkColumnPoints, L::WorkBandHeights);
    work.save(folder.filePath(L::WorkManagement + u"ORG.xlsx"_s));
}
