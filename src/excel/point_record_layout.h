#pragma once

#include "xlsx/workbook.h"

#include <QString>

// Where the point record template puts each point: four to a page, two bands of two. The
// template generator builds its sheet from these numbers, so frames and cells cannot drift apart.
namespace PointRecordLayout {

inline const QString SheetName = QStringLiteral("点の記4");
inline const QString TemplateName = QStringLiteral("点の記4ORG");

inline constexpr int PageRows = 33;
inline constexpr int BandRows = 15;
inline constexpr int PlacesPerPage = 4;
inline constexpr double PageStep = 816.75;
inline constexpr double BandStep = 371.25;

// Heading rows 1-3, then each band: a label row (the row before it), five text rows, a gap,
// eight picture rows and a closing row that also carries the page's inspector.
inline constexpr double HeadingRowHeight = 24.75;
inline constexpr double TextRowHeight = 21;
inline constexpr double GapRowHeight = 35.75;
inline constexpr double PictureRowHeight = 24;
inline constexpr double ClosingRowHeight = 38.5;
inline constexpr int Columns = 24;
inline constexpr double ColumnPoints = 262.0 / 12.0;

inline constexpr int WorkNameRow = 2, WorkNameColumn = 2;
inline constexpr int InspectorRow = 33, InspectorColumn = 20;

// A place's cells, counted from the row before its band and from its first column: the route,
// the point's name and its marker on one row, then the location and the coordinates below.
inline constexpr int RouteRow = 4, LocationRow = 5, XRow = 6, YRow = 7, HeightRow = 8;
inline constexpr int NameOffset = 4, MarkerOffset = 8, ValueOffset = 3;
// Points are looked up in the SIMA file by this much of their name.
inline constexpr int PointNameLength = 25;
inline constexpr double PictureWidth = 256, PictureHeight = 192;

// First column of a place: slots 0 and 2 on the left, 1 and 3 on the right.
inline int placeColumn(int slot) {
    return slot % 2 == 1 ? 13 : 1;
}
// Row before the band's first text row, on page p (from 0).
inline int bandBase(int page, int slot) {
    return PageRows * page + BandRows * (slot / 2);
}
inline PictureRect picture(int page, int slot) {
    return {slot % 2 == 1 ? 262.0 : 3.0, 215 + BandStep * (slot / 2) + PageStep * page, PictureWidth,
            PictureHeight};
}

inline const QString CoordinateFormat = QStringLiteral("#,##0.000");

} // namespace PointRecordLayout
