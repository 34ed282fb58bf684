#pragma once

#include "xlsx/workbook.h"

// The template's page on the active sheet, rows firstRow..lastRow: copied once, pasted below
// itself for each page of the report, and removed when the sheet is done.
class PagedSheet {
public:
    PagedSheet(Workbook& book, int firstRow, int lastRow, int printColumns);

    int pages() const { return pages_; }
    // Pastes the pages up to this one (from 1), each right below the one before.
    void pasteUpTo(int page);
    // Pastes the next page where the layout puts it.
    void pastePage(int atRow);
    // Removes the template's page, prints the pages across the template's columns and leaves
    // the first cell selected.
    void finish();

private:
    Workbook& book_;
    int firstRow_, lastRow_, printColumns_;
    int pages_ = 0;
};
