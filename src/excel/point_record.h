#pragma once

#include "base/output_guard.h"
#include "base/progress.h"
#include "workspace/album_sheet.h"
#include "xlsx/report_pipeline.h"

#include <QList>
#include <QString>
#include <QStringList>

// Survey point records: four points a page, each with its photo, texts and, from a SIMA file,
// its coordinates.
namespace PointRecord {

extern const QStringList MarkerKinds;
extern const QString ReadingSima; // "SIMAﾌｧｲﾙ内部に呼び出し中"
extern const QString Writing;     // "点の記をEXCELファイルに出力中"

struct Request {
    QList<AlbumRow> rows; // album rows 1..AlbumRowCount
    QString workName, routeName, location, inspector;
    bool heightOn = false;
    QString defaultMarker; // written when a photo's line 2 is empty
    QString simaPath;      // empty: no coordinates
    QString programFolder;
    int threads = 2;
    OutputGuard guard; // the files the caller reads or keeps; the run adds its template and photos
};

// Checks the SIMA file, the template and the photos, builds the records and writes them to
// outputPath; nothing is written on failure or when Cancelled goes through. What the
// user should know of a written workbook goes to notes.
ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 QStringList* notes = nullptr);

} // namespace PointRecord
