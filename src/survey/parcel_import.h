#pragma once

#include "survey/parcel_rows.h"

class Prompts;
class Workspace;

// The album imports of the two SIMA dialogs, each one undoable command that replaces the whole
// album. True when the sheet was filled (the caller then draws the thumbnails).
namespace ParcelImport {

extern const QString WarningTitle; // "警告"

// "インポート" of the boundary-point dialog: two rows a point.
bool importBoundaryPoints(Workspace& workspace, Prompts& prompts, const QList<SimaParcelPoint>& points,
                          const ParcelRows::BoundaryTexts& texts);

// "インポート" of the parcel list: a row a member point of the chosen list rows.
bool importParcels(Workspace& workspace, Prompts& prompts, const ParcelTables& tables,
                   const QList<int>& parcels, const QString& folder);

// The boundary texts from the settings: items 29, 30, 43 and the suffixes 26, 27.
ParcelRows::BoundaryTexts boundaryTextsFromSettings(const Workspace& workspace);

} // namespace ParcelImport
