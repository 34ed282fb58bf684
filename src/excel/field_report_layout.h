#pragma once

#include "xlsx/workbook.h"

#include <QString>

#include <array>

// Where the three survey report templates put each photo and its text. The template generator
// builds its sheets from these numbers, so frames and positions cannot drift apart.
namespace FieldReportLayout {

inline const QString Reconnaissance = QStringLiteral("現地踏査");
inline const QString BoundaryPoints = QStringLiteral("境界点写真");
inline const QString WorkManagement = QStringLiteral("作業管理写真");

inline constexpr int KindCount = 7;

// Rows of a reconnaissance page: a title row and three bands.
inline constexpr int ReconPageRows = 43;

struct Kind {
    int index = 0;
    QString templateKind; // also the working sheet's name
    QString word;         // block-point kinds: "街区三角点" or "街区多角点"
    int capacity = 6;     // photos a page
    int firstBlockRow = 1, lastBlockRow = ReconPageRows;
    double leftEven = 47, leftOdd = 331;
    double top = 84, bandStep = 252, pageStep = 777;
    double width = 240, height = 180;
    int blockRows() const { return lastBlockRow - firstBlockRow + 1; }
    PictureRect picture(int page, int slot) const {
        const int band = slot / 2;
        return {slot % 2 == 0 ? leftEven : leftOdd, top + bandStep * band + pageStep * page, width, height};
    }
};

inline Kind kind(int index) {
    Kind k;
    k.index = index;
    k.templateKind = Reconnaissance;
    if (index == 3) k.word = QStringLiteral("街区三角点");
    if (index == 4) k.word = QStringLiteral("街区多角点");
    if (index == 5) {
        k.templateKind = BoundaryPoints;
        k.capacity = 8;
        k.firstBlockRow = 2, k.lastBlockRow = 13;
        k.leftEven = 9, k.leftOdd = 291;
        k.top = 52, k.bandStep = 202.5, k.pageStep = 810;
        k.width = 228, k.height = 171;
    } else if (index == 6) {
        k.templateKind = WorkManagement;
        k.firstBlockRow = 2, k.lastBlockRow = 11;
        k.leftEven = 15, k.leftOdd = 297;
        k.top = 106, k.bandStep = 220.5, k.pageStep = 721.5;
        k.width = 217, k.height = 157;
    }
    return k;
}

// The reconnaissance sheet: a title row, then three bands of 14 rows: three text rows and the
// picture rows.
inline constexpr int ReconBandRows = 14;
inline constexpr double ReconTitleHeight = 21;
inline constexpr double ReconTextRowHeight = 21;
inline constexpr double ReconPictureRowHeight = 18; // ten of them hold the picture
inline constexpr double ReconGapHeight = 9;
inline constexpr std::array<double, 5> ReconColumnPoints = {45, 63, 183, 72, 210};
// Each text row: a label, its value, a label, its value.
inline constexpr int ReconLeftLabelColumn = 2, ReconLeftTextColumn = 3;
inline constexpr int ReconRightLabelColumn = 4, ReconRightTextColumn = 5;
inline constexpr int TitleRow = 1, TitleColumn = 2;

// The first of band b's three text rows on page p (from 0) of a reconnaissance sheet.
inline int reconTextRow(int page, int band) {
    return ReconPageRows * page + ReconBandRows * band + 2;
}

// The boundary-point sheet: a heading row, then bands of a text row, the picture row and a gap.
inline constexpr double BoundaryHeadingHeight = 31;
inline constexpr std::array<double, 3> BoundaryBandHeights = {21, 171, 10.5};
inline constexpr std::array<double, 4> BoundaryColumnPoints = {6, 234, 48, 234};

// The work-management sheet: row 1, the block's heading row, then bands like the above.
inline constexpr double WorkRow1Height = 25;
inline constexpr double WorkHeadingHeight = 60;
inline constexpr std::array<double, 3> WorkBandHeights = {21, 157, 42.5};
inline constexpr std::array<double, 4> WorkColumnPoints = {12, 225, 57, 222};

// The two reports with one text cell a band: a text row, the picture row and a gap.
inline constexpr int PairBandRows = 3;
inline constexpr int PairTextColumn = 2;

// Text row of band b on page p (from 0) for the two reports with one text cell a band; a work
// management page opens with its heading row.
inline int bandTextRow(const Kind& k, int page, int band) {
    const int firstBand = k.index == 6 ? k.firstBlockRow + 1 : k.firstBlockRow;
    return k.blockRows() * page + PairBandRows * band + firstBand;
}

} // namespace FieldReportLayout
