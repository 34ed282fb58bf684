#pragma once

#include "workspace/album_sheet.h"
#include "base/output_guard.h"
#include "base/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The album written into a workbook, fixed or from the office's Free template.
namespace AlbumExcel {

extern const QString NoFreeTemplate; // "EXCEL Freeフォーマット雛形が設定されてません。…"
extern const QString FreeTemplateMissing;
extern const QString BadFreeValues; // "写真FRの設定値が異常です。…"
extern const QString PhotoFailed;   // "写真が呼出せません。…"
extern const QString Unexpected; // "予期せぬエラーが発生しました。ご迷惑をおかけ致します。"
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

struct Failure {
    QString message;
    Prompts::Icon icon = Prompts::Icon::Exclamation;
    bool keepDialogOpen = false; // refusals before any work
    QList<int> badRows;          // photo failures: album rows
    QStringList badDetails;      // one "row: path (reason)" each
    QString detail;              // what went wrong, for the command line
};

// Progress: the activity text, then the album row being written (0 while preparing pictures);
// answering false cancels.
using Progress = std::function<bool(const QString& activity, int row, int done, int total)>;

// Checks the template and every photo, builds the workbook and writes it to outputPath.
// Answers the failure, if any; nothing is written then. A cancelled run answers a failure with
// an empty message. What the user should know of a written workbook goes to notes.
std::optional<Failure> run(const Request& request, const QString& outputPath, const Progress& progress,
                           QStringList* notes = nullptr);

// The refusal of an output that is a file the guard keeps or a photo of rows, or nothing.
std::optional<Failure> refuseKept(OutputGuard guard, const QList<AlbumRow>& rows, const QString& outputPath);

// Where the save dialog proposes to write: the template's name without "ORG", as .xlsx.
QString defaultOutputName(const Request& request);

} // namespace AlbumExcel
