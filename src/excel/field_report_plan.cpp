#include "excel/field_report_plan.h"

#include "base/shared_routines.h"

using namespace Qt::StringLiterals;

namespace FieldReportPlan {

Plan plan(const QList<AlbumRow>& rows, const FieldReportLayout::Kind& kind) {
    Plan result;
    int slot = kind.capacity, page = 0, unit = -1;
    QString key;
    for (int i = 1; i <= int(rows.size()); ++i) {
        const AlbumRow& row = rows[i - 1];
        if (kind.index == 2) {
            if (i % 2 == 1) key = SplitLines(row.info)(5);
            if (unit < 0 || key != result.unitKeys.constLast()) {
                ++unit;
                result.unitKeys << key;
                result.unitPages << 0;
                slot = kind.capacity;
                page = 0;
            }
        }
        if (slot >= kind.capacity) {
            ++page;
            slot = 0;
            result.pages = qMax(result.pages, page);
            if (kind.index == 1) ++unit;
            if (kind.index == 2) result.unitPages.last() = page;
        }
        if (!row.path.isEmpty()) result.places.append({i, page, slot, qMax(unit, 0)});
        ++slot;
    }
    return result;
}

QString pageSheetName(const QString& name, int n) {
    return n == 1 ? name : name + u" ("_s + QString::number(n) + u')';
}

} // namespace FieldReportPlan
