#pragma once

#include <QString>

struct ClassifiedData;

// The import file pair: the ".spd" holds the group list as the program saves every grid
// (key, sheet name, count, flag), and its companion (the same name ending in "2") holds the
// folder, the lines and the groups as quoted CP932 text:
//   "folder"
//   lines,groups
//   "c0","c1",...,"c7"      one per data line
//   first,last              one per group
// A quote inside a text is written doubled.
namespace ClassifiedFile {

extern const QString DialogFilter; // "ｲﾝﾎﾟｰﾄﾌｧｲﾙ (*.spd)|*.spd"

QString companionPath(const QString& spdPath);

// Writes the companion first, then the ".spd", each atomically. Throws AppError naming the
// file; a text CP932 cannot hold is refused rather than written as "?".
void save(const QString& spdPath, const ClassifiedData& data);

// Both files whole and agreeing, or AppError naming the file and the companion's line.
ClassifiedData load(const QString& spdPath);

} // namespace ClassifiedFile
