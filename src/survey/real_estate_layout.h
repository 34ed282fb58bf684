#pragma once

#include "xlsx/workbook.h"

#include <QString>

#include <array>

// The real-estate report's page: the template's sheet holds one page in rows 2-51, three bands
// of two photo slots, every row 16.5 points high. The template generator builds it from these
// numbers, so the slots and the pictures cannot drift apart.
namespace RealEstateLayout {

inline const QString TemplateName = QStringLiteral("不動産ORG");
inline const QString SheetName = QStringLiteral("地番");

inline constexpr int FirstPageRow = 2;
inline constexpr int PageRows = 50;
inline constexpr int BandRows = 17;
inline constexpr double RowHeight = 16.5;
inline constexpr int SlotsPerPage = 6;
inline constexpr double PictureWidth = 240;
inline constexpr double PictureHeight = 180;
// Columns of the template: a margin, four of the left slot, a gap, four of the right slot.
inline constexpr std::array<int, 10> ColumnPixels = {17, 80, 80, 80, 80, 53, 80, 80, 80, 80};
inline constexpr int HeadingRow = 1;
inline constexpr int ParcelCellColumn = 5;

// Slot s (0-5) of page g (from 1, counted while the template page is still row 2).
struct Slot {
    int column = 0;  // first text column: 2 left, 7 right
    int baseRow = 0; // the slot's four rows are baseRow+14 .. baseRow+17
    PictureRect picture;
};

inline Slot slot(int page, int s) {
    const int band = s / 2;
    Slot result;
    result.column = s % 2 == 0 ? 2 : 7;
    result.baseRow = BandRows * band + PageRows * page;
    result.picture = {s % 2 == 0 ? 13.0 : 293.0, 825.0 * page + 280.5 * band + 33.5, PictureWidth,
                      PictureHeight};
    return result;
}

} // namespace RealEstateLayout
