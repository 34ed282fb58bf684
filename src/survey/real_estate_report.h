#pragma once

#include "base/output_guard.h"
#include "base/photo_file.h"
#include "survey/sima_reader.h"
#include "xlsx/report_pipeline.h"

#include <QList>
#include <QString>
#include <QStringList>

// "不動産報告書": a sheet a chosen parcel with the photos of its points, six to a page.
namespace RealEstateReport {

extern const QString OutputName;      // "不動産報告書.xlsx"
extern const QString Activity;        // "不動産報告書をEXCELファイルに出力中"
extern const QString NoParcelChosen;  // "出力画地指示がありません。…"
extern const QString ReplaceQuestion; // asked before an existing report is replaced

struct Request {
    ParcelTables tables;
    QList<int> parcels; // list rows (from 1), in list order
    QString folder;     // photo folder (item 29)
    bool type2 = false; // two photos a point: far, then near
    QString date;
    QString nearSuffix, farSuffix; // items 26, 27
    QString programFolder;
    int threads = 2;
    OutputGuard guard; // the files the caller reads or keeps; the run adds its template and photos
};

// The photo files of one point, in slot order; an entry is empty when the name cannot be a
// file name.
QStringList photosOfPoint(const Request& request, const QString& pointName);
// The same with one resolver for many points, so that a folder is listed once however many miss.
QStringList photosOfPoint(const Request& request, const QString& pointName, PhotoFile::Resolver& photos);

// The sheet cell (1, 5) text: "12-3" → "12番3".
QString parcelHeading(const QString& parcelName);

struct Summary {
    int photos = 0;        // slots written
    int missingPhotos = 0; // slots left without a picture (no such file)
    QStringList notes;     // what the user should know of the written workbook
};

// Fills the template and writes the workbook to outputPath; on failure nothing is written, nor
// when Cancelled goes through. progress tells, for panels 2 and 3 of the dialog, the list row
// in work (the step's row) and the next photo number (its done); both are 0 while the photos
// are read. The failure's details() name the photos that could not be read, or what went wrong.
ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 Summary* summary = nullptr);

} // namespace RealEstateReport
