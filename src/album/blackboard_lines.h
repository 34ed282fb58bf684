#pragma once

#include "base/blackboard_xmp.h"
#include "workspace/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

class Prompts;
class Workspace;

// The information lines an electronic blackboard fills: the ones the delivery index writes,
// 10 to 21. Lines holding text are never overwritten.
namespace BlackboardLines {

extern const QString CommandName; // "黒板情報を取り込む"

// 施工管理値 in one line: each item as its name, "設計 " and "実測 " each followed by its value
// and unit, parts without a value left out; items joined by "、".
QString measurementText(const QList<MeasurementItem>& items);

// The 21 lines the blackboard gives (lines 1 to 9 empty): 13 is the Exif date (yyyy-MM-dd),
// 20 and 21 are "1" or "0" from "True" or "False".
QStringList linesOf(const BlackboardReading& reading);

// The lines, with each empty one among 10..21 taken from the blackboard's.
QStringList withEmptyLinesFilled(QStringList lines, const QStringList& blackboardLines);

// The information text with its empty lines filled; false, leaving it alone, when there is
// nothing to fill or the text holds lines past 21 that a rewrite would lose.
bool fillInfo(QString& info, const BlackboardReading& reading);

struct Summary {
    int filledRows = 0;
    int withoutBlackboard = 0; // photos carrying no blackboard items (or none that could be read)
    QStringList notes;         // photo path and why its metadata could not be read
};

// Fills the given rows (1-based, within rows) from their photos.
Summary fillRows(QList<AlbumRow>& rows, const QList<int>& which);
// The same for rows just placed or imported, unless the workspace has it turned off.
void fillPlaced(const Workspace& workspace, QList<AlbumRow>& rows, int first, int last);

// The given sheet rows (every data row when none are given), as one undoable step (none when
// nothing was filled).
Summary importIntoSheet(Workspace& workspace, const QList<int>& sheetRows);
// The 編集 menu command: fills and says what it did.
void importFromPhotos(Workspace& workspace, Prompts& prompts, const QList<int>& sheetRows);

// "3 行に黒板情報を取り込みました。\n黒板情報のない写真: 2 枚" and the notes.
QString summaryText(const Summary& summary);

} // namespace BlackboardLines
