#pragma once

#include "base/output_guard.h"
#include "base/progress.h"
#include "workspace/album_sheet.h"
#include "xlsx/report_pipeline.h"

#include <QList>
#include <QString>
#include <QStringList>

// The survey reports of the album's photos, two to a band: the field reconnaissance report in
// its five layouts, boundary point photos and work management photos.
namespace FieldReport {

extern const QString NoSheetName; // "シート名は必ず入力して下さい。"
extern const QStringList KindCaptions;

struct Request {
    QList<AlbumRow> rows; // album rows 1..AlbumRowCount
    int kind = 0;         // 0-6
    QString sheetName;    // kind 1
    QString programFolder;
    int threads = 2;
    OutputGuard guard; // the files the caller reads or keeps; the run adds its template and photos
};

// The activity shown while the report is written: the kind name + "をEXCELファイルに出力中".
QString activity(int kind);

// Text before the second "-" of row 1's line 1, or the whole line.
QString defaultSheetName(const QList<AlbumRow>& rows);

// "現地踏査.xlsx" and the like.
QString defaultOutputName(int kind);

// The refusal of a kind out of range or of kind 1 without a sheet name, before anything is read.
ReportResult checkRequest(const Request& request);

// Checks the request, the template and the photos, builds the report and writes it to
// outputPath; nothing is written on failure or when Cancelled goes through. What the
// user should know of a written workbook goes to notes.
ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 QStringList* notes = nullptr);

} // namespace FieldReport
