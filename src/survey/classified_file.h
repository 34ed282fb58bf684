#pragma once

#include <QString>

struct ClassifiedData;

// The import file pair: the ".spd" holds the group list as the program saves every grid
// (key, sheet name, count, flag) with a copy of its companion's text, and its companion (the
// same name ending in "2") holds the folder, the lines and the groups as quoted CP932 text:
//   "folder"
//   lines,groups
//   "c0","c1",...,"c7"      one per data line
//   first,last              one per group
// A quote inside a text is written doubled.
namespace ClassifiedFile {

extern const QString DialogFilter; // "ｲﾝﾎﾟｰﾄﾌｧｲﾙ (*.spd)|*.spd"
extern const QString Extension;    // ".spd", added to a name typed without one

QString companionPath(const QString& spdPath);

// The import file a name typed for saving stands for: ".spd" is added when it has no
// extension, so that "区画2" does not become its own companion.
QString withExtension(const QString& typedPath);

// Writes the ".spd" first, then the companion, each atomically, so that a stop at any point
// leaves the old pair or the new one to load. Throws AppError naming the file; a text CP932
// cannot hold is refused rather than written as "?". A companion that would be the import file
// itself, or would replace another import file or its companion, is refused naming the files,
// before anything is written.
void save(const QString& spdPath, const ClassifiedData& data);

// The ".spd" with the companion's text it carries (read from the companion for files saved
// before they carried it), whole and agreeing, or AppError naming the file and the line.
ClassifiedData load(const QString& spdPath);

} // namespace ClassifiedFile
