#include "xlsx/paged_sheet.h"

PagedSheet::PagedSheet(Workbook& book, int firstRow, int lastRow, int printColumns)
    : book_(book), firstRow_(firstRow), lastRow_(lastRow), printColumns_(printColumns) {
    book_.copyRows(firstRow_, lastRow_);
}

void PagedSheet::pasteUpTo(int page) {
    while (pages_ < page)
        pastePage((lastRow_ - firstRow_ + 1) * (pages_ + 1) + firstRow_);
}

void PagedSheet::pastePage(int atRow) {
    book_.pasteRows(atRow);
    ++pages_;
}

void PagedSheet::finish() {
    book_.deleteRows(firstRow_, lastRow_);
    book_.setPrintArea(firstRow_ - 1 + pages_ * (lastRow_ - firstRow_ + 1), printColumns_);
    book_.selectCell(1, 1);
}
