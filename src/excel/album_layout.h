#pragma once

#include "xlsx/workbook.h"

#include <QList>
#include <QString>

#include <array>

// Where the album workbook puts each photo and its lines. The fixed layout's numbers are the
// ones the shipped template is built from, so the frames and the positions cannot drift apart.
namespace AlbumLayout {

inline constexpr int BlockRows = 45;
inline constexpr int BandRows = 15;
inline constexpr double BlockHeight = 859.5;
inline constexpr double BandHeight = 286.5;
inline constexpr double PictureTop = 13.5;
inline constexpr double PictureWidth = 356;
inline constexpr double PictureHeight = 259.5;
inline constexpr double LeftPictureLeft = 94.5;
inline constexpr double RightPictureLeft = 753.5;
inline constexpr int LeftTextColumn = 5;
inline constexpr int RightTextColumn = 7;
inline constexpr int LinesPerPhoto = 8;
// Heights of the 15 rows of a band: gap, picture rows with the eight lines in rows 3-10, gap.
inline constexpr std::array<double, BandRows> BandRowHeights = {
    13.5, 19.5, 24.75, 24.75, 24.75, 24.75, 24.75, 24.75, 24.75, 24.75, 10.5, 10.5, 10.5, 10.5, 13.5};
// Column widths in screen pixels: margin, picture (3 columns), text, the right picture, its text.
inline constexpr std::array<int, 7> ColumnPixels = {126, 158, 158, 159, 404, 475, 404};

inline const QString TemplateName = QStringLiteral("写真帳ORG");
inline const QString SheetA3 = QStringLiteral("写真帳A3");
inline const QString SheetA4 = QStringLiteral("写真帳A4");

// One album row with a photo: its picture rectangle and the cells of its lines.
struct Slot {
    int albumRow = 0;
    int page = 0;
    PictureRect rect;
    int textColumn = 0;
    QList<int> lineRows; // rows of lines 1, 2, ...; fewer when the layout writes fewer
};

struct Plan {
    int firstBlockRow = 1; // the template block
    int lastBlockRow = BlockRows;
    int pages = 0;
    QList<int> pasteRows; // where page 1, 2, ... is pasted
    QList<Slot> places;
};

// The fixed layout for rows 1..photoRows.size(); photoRows[i] tells whether row i+1 has a photo.
Plan planFixed(const QList<bool>& photoRows, bool a3);

// The layout values of a Free template (cells C2 to C21 of its second sheet).
struct FreeValues {
    std::array<double, 22> c{}; // c[2] .. c[21]
};
// Empty when the values describe a usable layout for this many rows; else the reason.
QString freeProblem(const FreeValues& values, int albumRows);
Plan planFree(const FreeValues& values, const QList<bool>& photoRows);

// Integer conversion of the layout values: nearest, halves to the even neighbour.
int toInt(double value);

} // namespace AlbumLayout
