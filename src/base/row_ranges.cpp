#include "base/row_ranges.h"

#include "base/batch_command.h"

#include <QStringList>

#include <algorithm>

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

QString describeRows(QList<int> rows, int maxRuns) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList runs;
    qsizetype i = 0;
    while (i < rows.size() && runs.size() < maxRuns) {
        qsizetype end = i;
        while (end + 1 < rows.size() && rows.at(end + 1) == rows.at(end) + 1)
            ++end;
        runs << (end == i ? QString::number(rows.at(i))
                          : QString::number(rows.at(i)) + u"～"_s + QString::number(rows.at(end)));
        i = end + 1;
    }
    QString text = runs.join(u"、"_s);
    if (i < rows.size()) text += u"…ほか "_s + QString::number(rows.size() - i) + u" 行"_s;
    return text;
}
