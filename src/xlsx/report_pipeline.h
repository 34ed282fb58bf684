#pragma once

#include "base/output_guard.h"
#include "base/progress.h"
#include "base/prompts.h"
#include "xlsx/picture_prep.h"
#include "xlsx/workbook.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

// Why a report was not written; nothing is written then. A stopped run throws Cancelled
// instead, and writes nothing either.
struct ReportFailure {
    QString message;
    Prompts::Icon icon = Prompts::Icon::Exclamation;
    bool keepDialogOpen = false; // refusals before any work
    QList<int> badRows;          // photos that could not be read: their album rows
    QStringList badDetails;      // one "row: path (reason)", or "path (reason)" without a row, each
    QString detail;              // what went wrong, for the command line

    // What is listed below the message: the unreadable photos, or the detail where it adds to
    // the message.
    QStringList details() const;
};

using ReportResult = std::optional<ReportFailure>;

// A photo a report places: its album row (0 when it has none) and the frame it fills.
struct ReportPhoto {
    int row = 0;
    QString path;
    QSize frame;
};

// The photos of a run, each read once however often it is placed.
class ReportPictures {
public:
    ReportPictures(QList<PreparedPicture> pictures, std::map<QString, int> indexOfPath);
    void place(Workbook& book, const PictureRect& rect, const QString& path) const;

private:
    QList<PreparedPicture> pictures_;
    std::map<QString, int> indexOfPath_;
};

// One report as the pipeline builds it; the pipeline calls these in the order given, stopping
// at the first failure.
class ReportBuilder {
public:
    virtual ~ReportBuilder() = default;
    // Checks of the request that need no file.
    virtual ReportResult checkRequest() { return std::nullopt; }
    // The template's path, or why there is none.
    virtual ReportResult findTemplate(QString& path) = 0;
    // The files the output may never go over: the caller's, the template and every photo.
    virtual OutputGuard keptFiles(const QString& templatePath) const = 0;
    // Checks of the opened template; leaves the sheet to fill active.
    virtual ReportResult checkTemplate(Workbook& book, const QString& templatePath) = 0;
    // Every photo placed, in the order a bad one is named.
    virtual QList<ReportPhoto> photos() = 0;
    // Where the photos' reading is told, and what stops it.
    virtual Progress photoProgress() = 0;
    // Fills the template. printColumns: the last column the template prints.
    virtual void fill(Workbook& book, const ReportPictures& pictures, int printColumns) = 0;
};

namespace ReportPipeline {

extern const QString PhotoFailed; // "写真が呼出せません。入力データを確認して下さい。"
extern const QString Unexpected; // "予期せぬエラーが発生しました。ご迷惑をおかけ致します。"

// A request refused before any work: the dialog stays open to change it.
ReportFailure refusal(const QString& message, const QString& detail = {});
ReportFailure failure(const QString& message, Prompts::Icon icon, const QString& detail = {});
// "雛形が見つかりません: NAME.xlsx".
ReportFailure missingTemplate(const QString& templateName);
// progress, telling every step as activity.
Progress withActivity(const Progress& progress, const QString& activity);
// Activates the template's sheet of that name, or answers that it has none.
ReportResult activateSheet(Workbook& book, const QString& sheetName, const QString& templatePath);

// Finds and opens the template (old binary books through their converted copy), refuses an
// output that is a kept file, reads every photo before anything is built, fills the template
// and writes it to outputPath. Nothing is written on failure or when Cancelled goes through,
// nor once the output's folder is not the one the run began with: a failed save is told with
// its reason.
// What the user should know of the written workbook goes to notes.
ReportResult run(ReportBuilder& report, const QString& outputPath, int threads, QStringList* notes);

} // namespace ReportPipeline
