#pragma once

#include "survey/sima_reader.h"
#include "workspace/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

// Album rows made from SIMA parcels: two rows a boundary point (near and far photo), or one
// row a member point of chosen parcels.
namespace ParcelRows {

// Lines 3 and 4 of a boundary point's text for marker codes 0 to 7.
struct MarkerLines {
    QString witness;
    QString kind;
};
const MarkerLines& markerLines(int code);

struct BoundaryTexts {
    QString folder;     // photo folder (item 29)
    QString prefix;     // put before the point name in file names (item 30)
    QString line1;      // first line of every text (item 43)
    QString nearSuffix; // item 26
    QString farSuffix;  // item 27
};

struct Result {
    QList<AlbumRow> rows;
    int pointsLeftOut = 0; // points the album's capacity left out; none is written in part
    QStringList warnings;  // one a point: bad marker code, name unfit for a file name
    // The capacity message with the number of points left out; empty when all fitted.
    QString capacityMessage() const;
};

// Two rows a point or none: a point whose far photo would not fit is left out whole, so that
// the album never holds a near photo without its far one.
Result boundaryRows(const QList<SimaParcelPoint>& points, const BoundaryTexts& texts, int maxRows);

// The members of the parcels chosen (1-based, in the order given), one row each.
Result parcelRows(const ParcelTables& tables, const QList<int>& parcels, const QString& folder, int maxRows);

// folder joined with the file name by one separator; empty when the name is not a plain file
// name (a separator, "..", a character Windows refuses), so no path leaves the folder.
QString photoPath(const QString& folder, const QString& fileName);

} // namespace ParcelRows
