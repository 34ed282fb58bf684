#pragma once

#include "survey/sima_reader.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The PM file: "point name,marker code" a line. Every line is an entry, a header too.
struct PmFile {
    QStringList names;
    QStringList markers; // field 2 as written
    PointNameIndex index;
};

PmFile LoadPmFile(const QString& path);
PmFile parsePmFile(const QString& text);

// A marker code read as a number (" 1" and "1.0" are 1); nothing when it is not one of 0 to 7.
std::optional<int> markerNumber(const QString& text);

// The boundary points of a SIMA file: members named "ZT…" but not "ZTP…", each with the PM
// file's marker text, or "0" when the PM file has no line for it (or there is no PM file).
QList<SimaParcelPoint> boundaryPoints(const SimaFile& file, const PmFile* pm);
QList<SimaParcelPoint> LoadBoundaryPoints(const QString& path, const PmFile* pm);
