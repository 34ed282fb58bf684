#include "app/row_ranges.h"

#include "app/batch_command.h"

#include <QStringList>

using namespace Qt::StringLiterals;

QList<RowRange> parseRowRanges(const QString& text, int count, const QString& what) {
    if (text.trimmed() == u"all"_s) return count > 0 ? QList<RowRange>{{1, count}} : QList<RowRange>{};
    QList<RowRange> ranges;
    for (const QString& piece : text.split(u',')) {
        const QStringList ends = piece.split(u'-');
        bool okFirst = false;
        bool okLast = false;
        RowRange range;
        range.first = ends.value(0).trimmed().toInt(&okFirst);
        range.last = ends.size() == 2 ? ends.at(1).trimmed().toInt(&okLast) : range.first;
        if (ends.size() == 1) okLast = okFirst;
        if (!okFirst || !okLast || ends.size() > 2 || range.first > range.last)
            throw BatchUsageError(what + u" の指定が読めません: "_s + piece.trimmed());
        if (range.first < 1 || range.last > count)
            throw BatchUsageError(what + u" の行 "_s + piece.trimmed() + u" は 1～"_s +
                                  QString::number(count) + u" の外です。"_s);
        ranges.append(range);
    }
    return ranges;
}
