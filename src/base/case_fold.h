#pragma once

#include <QString>
#include <QStringView>

// A name as Windows and exFAT compare names: Unicode simple case folding, full-width letters
// included. Names of plain ASCII, almost every photo name, take a fast path: folding lists of a
// hundred thousand names must not cost more than reading them.
QString caseFolded(QStringView name);
