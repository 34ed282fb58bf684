#pragma once

#include <QString>

// What the album imports say when the album's capacity stops them: the SIMA imports and the
// classified import word it alike.
namespace ImportCapacity {

extern const QString LastRowReached; // "最終行に達しましたのでインポートをここで終了します。"

// LastRowReached and, on its own line, the number of points (or lines of a list, each one
// photographed point) that were not written.
QString message(int pointsLeftOut);

// The same for the command line: one line, and the album's capacity after it.
QString commandLineNote(int pointsLeftOut, int maxRows);

} // namespace ImportCapacity
