#include "excel/album_layout.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace AlbumLayout {

int toInt(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 2.0e9) return value < 0 ? INT_MIN : INT_MAX;
    return int(std::nearbyint(value));
}

Plan planFixed(const QList<bool>& photoRows, bool a3) {
    Plan plan;
    const int slotsPerPage = a3 ? 6 : 3;
    int counter = slotsPerPage; // the first row opens a page
    int page = 0;
    for (int i = 0; i < photoRows.size(); ++i, ++counter) {
        if (counter > slotsPerPage - 1) {
            ++page;
            plan.pasteRows.append(BlockRows * page + 1);
            counter = 0;
        }
        if (!photoRows[i]) continue;
        const bool right = a3 && counter > 2;
        const int band = right ? counter - 3 : counter;
        Slot slot;
        slot.albumRow = i + 1;
        slot.page = page;
        slot.textColumn = right ? RightTextColumn : LeftTextColumn;
        slot.rect = {right ? RightPictureLeft : LeftPictureLeft,
                     PictureTop + BandHeight * band + BlockHeight * page, PictureWidth, PictureHeight};
        for (int g = 1; g <= LinesPerPhoto; ++g)
            slot.lineRows.append(BlockRows * page + BandRows * band + 2 + g);
        plan.places.append(slot);
    }
    plan.pages = page;
    return plan;
}

QString freeProblem(const FreeValues& values, int albumRows) {
    const auto& c = values.c;
    for (int i = 2; i <= 18; ++i)
        if (!std::isfinite(c[size_t(i)]) || std::fabs(c[size_t(i)]) > 1.0e7)
            return u"C"_s + QString::number(i);
    if (c[2] * c[3] == 0 || c[4] == 0 || c[5] == 0 || c[10] == 0) return u"C2-C5, C10"_s;
    if (c[2] < 1 || c[3] < 1 || c[2] * c[3] > 10000) return u"C2, C3"_s;
    if (c[4] < 0 || c[5] < 0) return u"C4, C5"_s;
    if (toInt(c[10]) < 1 || toInt(c[17]) < 0) return u"C10, C17"_s;
    const int capacity = int(std::ceil(c[2] * c[3]));
    const double pages = std::ceil(double(albumRows) / capacity) + 1;
    if (pages * toInt(c[10]) + toInt(c[17]) > CellRef::MaxRow) return u"C10"_s;
    // Every cell and rectangle the run would touch must lie on the sheet.
    QList<bool> all(albumRows, true);
    const Plan plan = planFree(values, all);
    for (const Slot& slot : plan.places) {
        if (slot.textColumn < 1 || slot.textColumn > CellRef::MaxColumn) return u"C13, C15"_s;
        for (int row : slot.lineRows)
            if (row < 1 || row > CellRef::MaxRow) return u"C12, C14, C16"_s;
        if (slot.rect.left < 0 || slot.rect.top < 0 || slot.rect.left + slot.rect.width > 1.0e6)
            return u"C4-C9, C11, C18"_s;
    }
    return {};
}

Plan planFree(const FreeValues& values, const QList<bool>& photoRows) {
    const auto& c = values.c;
    Plan plan;
    const int blockRows = toInt(c[10]);
    const int above = toInt(c[17]);
    plan.firstBlockRow = above + 1;
    plan.lastBlockRow = above + blockRows;
    const double capacity = c[2] * c[3];
    double counter = capacity; // the first row always opens a page, however many rows a page takes
    int page = 0;
    double across = 0, down = 1;
    for (int i = 0; i < photoRows.size(); ++i, ++counter) {
        if (counter > capacity - 1) {
            ++page;
            plan.pasteRows.append(page * blockRows + above + 1);
            counter = 0;
            across = 0;
            down = 1;
        }
        if (++across > c[3]) {
            across = 1;
            ++down;
        }
        if (!photoRows[i]) continue;
        Slot slot;
        slot.albumRow = i + 1;
        slot.page = page;
        slot.textColumn = toInt(c[13] + c[15] * (across - 1));
        const int textRow = toInt(c[12] + c[14] * (down - 1));
        const long long base = (long long)page * blockRows + textRow;
        slot.lineRows.append(int(std::clamp<long long>(base, INT_MIN / 2, INT_MAX / 2)));
        if (c[16] != 0)
            for (int k = 2; k <= LinesPerPhoto; ++k)
                slot.lineRows.append(toInt(double(base) + k * c[16] - 1));
        slot.rect = {c[11] + (c[5] + c[8]) * (across - 1),
                     c[18] + c[9] + (c[4] + c[7]) * (down - 1) + c[6] * page, c[5], c[4]};
        plan.places.append(slot);
    }
    plan.pages = page;
    return plan;
}

} // namespace AlbumLayout
