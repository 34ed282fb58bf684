#include "excel/field_report_writer.h"

#include "base/shared_routines.h"

using namespace Qt::StringLiterals;

namespace L = FieldReportLayout;
using FieldReportPlan::Place;

FieldReportWriter::FieldReportWriter(Workbook& book, const FieldReport::Request& request,
                                     const FieldReportPlan::Plan& plan, int printColumns)
    : book_(book), request_(request), kind_(L::kind(request.kind)), plan_(plan), printColumns_(printColumns) {
}

void FieldReportWriter::write(const QList<Place>& places, const ReportPictures& pictures,
                              const Progress& progress) {
    if (!kind_.word.isEmpty()) writeHeading();
    if (oneSheet()) sheet_.emplace(book_, kind_.firstBlockRow, kind_.lastBlockRow, printColumns_);
    const QString activity = FieldReport::activity(kind_.index);
    for (const Place& place : places) {
        const int row = qAbs(place.row);
        progress.report({activity, row, request_.rows.size(), row});
        int page = place.page;
        if (!oneSheet()) openUnitsUpTo(place.unit);
        if (kind_.index == 1)
            page = 0;
        else
            sheet_->pasteUpTo(page);
        if (place.row < 0) continue;
        writeTexts(place, page);
        pictures.place(book_, kind_.picture(page, place.slot), request_.rows[row - 1].path);
    }
    if (oneSheet()) {
        sheet_->pasteUpTo(plan_.pages);
        sheet_->finish();
    } else {
        openUnitsUpTo(kind_.index == 1 ? plan_.pages - 1 : int(plan_.unitKeys.size()) - 1);
        if (kind_.index == 2 && unit_ >= 0) finishUnit();
        book_.deleteSheet(book_.sheetIndex(kind_.templateKind));
        book_.activate(1);
    }
    book_.selectCell(1, 1);
}

void FieldReportWriter::writeHeading() {
    book_.setText(L::TitleRow, L::TitleColumn, kind_.word + u"現況写真(現地踏査報告)"_s);
    for (int band = 0; band < kind_.capacity / 2; ++band) {
        const int r = L::reconTextRow(0, band);
        book_.setText(r, L::ReconRightLabelColumn, u"街区点指示図番号"_s);
        book_.setText(r + 1, L::ReconLeftLabelColumn, kind_.word + u"番号"_s);
        book_.setText(r + 1, L::ReconRightLabelColumn, kind_.word + u"番号"_s);
        book_.setText(r + 2, L::ReconLeftLabelColumn, {});
        book_.setText(r + 2, L::ReconRightLabelColumn, {});
    }
}

// Kinds 1 and 2 work on copies of the template sheet, each found by the index the copy
// answers, never by name.
int FieldReportWriter::openCopy() {
    const int copy = book_.copySheetBefore(book_.sheetIndex(kind_.templateKind));
    book_.activate(copy);
    return copy;
}

// Every page (kind 1) or unit (kind 2) opens its sheet, photos or not.
void FieldReportWriter::openUnitsUpTo(int target) {
    while (unit_ < target) {
        if (kind_.index == 2 && unit_ >= 0) finishUnit();
        ++unit_;
        const int copy = openCopy();
        if (kind_.index == 1) {
            book_.renameSheet(copy, FieldReportPlan::pageSheetName(request_.sheetName, unit_ + 1));
            book_.setPrintArea(kind_.lastBlockRow, printColumns_);
            continue;
        }
        const QString& key = plan_.unitKeys[unit_];
        if (!key.isEmpty()) book_.renameSheet(copy, book_.validSheetName(key));
        sheet_.emplace(book_, kind_.firstBlockRow, kind_.lastBlockRow, printColumns_);
        unitPages_ = plan_.unitPages[unit_];
    }
}

void FieldReportWriter::finishUnit() {
    sheet_->pasteUpTo(unitPages_);
    sheet_->finish();
}

void FieldReportWriter::writeTexts(const Place& place, int page) {
    const FieldBuffer lines = SplitLines(request_.rows[place.row - 1].info);
    const int band = place.slot / 2;
    const bool even = place.slot % 2 == 0;
    if (kind_.index >= 5) {
        writeBandText(lines(1), page, band, even);
        return;
    }
    const int r = L::reconTextRow(page, band);
    if (kind_.index <= 2) {
        // Four lines beside the left photo; the right one's place shows its picture only.
        if (!even) return;
        book_.setText(r, L::ReconLeftTextColumn, lines(1));
        book_.setText(r, L::ReconRightTextColumn, lines(2));
        book_.setText(r + 1, L::ReconLeftTextColumn, lines(3));
        book_.setText(r + 1, L::ReconRightTextColumn, lines(4));
        return;
    }
    const int column = even ? L::ReconLeftTextColumn : L::ReconRightTextColumn;
    book_.setText(r, column, lines(1));
    book_.setText(r + 1, column, lines(2));
}

// The remembered line belongs to its band: a band without a left photo shows the right one's
// line.
void FieldReportWriter::writeBandText(const QString& line1, int page, int band, bool even) {
    if (rememberedBand_ != band || rememberedPage_ != page) remembered_.clear();
    rememberedBand_ = band;
    rememberedPage_ = page;
    const int textRow = L::bandTextRow(kind_, page, band);
    if (even) {
        book_.setText(textRow, L::PairTextColumn, line1);
        remembered_ = line1;
    } else if (remembered_.isEmpty()) {
        book_.setText(textRow, L::PairTextColumn, line1);
    }
}
