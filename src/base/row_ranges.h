#pragma once

#include <QList>
#include <QString>

// Rows picked on a command line: "2,5-7" or "all", over rows 1..count.
struct RowRange {
    int first = 0;
    int last = 0;
};

// The ranges in the order written. Throws BatchUsageError naming `what` (the option or the
// kind of row) for words it cannot read or rows outside 1..count.
QList<RowRange> parseRowRanges(const QString& text, int count, const QString& what);

// Rows for a message: "3、5～9、12", ascending, runs joined; past `maxRuns` runs the rest is
// counted ("…ほか 4 行").
QString describeRows(QList<int> rows, int maxRuns = 20);
