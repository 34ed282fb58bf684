#pragma once

#include "base/output_guard.h"
#include "base/progress.h"
#include "workspace/album_sheet.h"
#include "xlsx/report_pipeline.h"

#include <QList>
#include <QString>
#include <QStringList>

// The album written into a workbook, fixed or from the office's Free template.
namespace AlbumExcel {

extern const QString NoFreeTemplate; // "EXCEL Freeフォーマット雛形が設定されてません。…"
extern const QString FreeTemplateMissing;
extern const QString BadFreeValues; // "写真FRの設定値が異常です。…"
extern const QString FixedActivity; // "写真帳をEXCELファイルに出力中"
extern const QString FreeActivity;  // "EXCELファイルに出力中"

struct Request {
    QList<AlbumRow> rows; // album rows 1..AlbumRowCount
    bool free = false;
    bool a3 = false;      // fixed format
    QString templatePath; // Free: the chosen template; fixed: found by TemplateFiles
    QString programFolder;
    QString title, titleRow, titleColumn; // Free title cell
    int threads = 2;
    OutputGuard guard; // the files the caller reads or keeps; the run adds its template and photos
};

// The refusal of a Free run without a usable template, before anything is read.
ReportResult checkRequest(const Request& request);

// Checks the template and every photo, builds the workbook and writes it to outputPath;
// nothing is written on failure or when Cancelled goes through. What the user should know of a written
// workbook goes to notes.
ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 QStringList* notes = nullptr);

// Where the save dialog proposes to write: the template's name without "ORG", as .xlsx.
QString defaultOutputName(const Request& request);

} // namespace AlbumExcel
