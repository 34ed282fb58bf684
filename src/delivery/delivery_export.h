#pragma once

#include "base/app_error.h"
#include "base/progress.h"
#include "delivery/delivery_request.h"
#include "delivery/finding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct DeliveryResult {
    int photoCount = 0;
    qint64 bytes = 0;
    PhotoStandard::Version version = PhotoStandard::Version::V05;
    QString standard; // 適用要領基準 written
    // The previous delivery, moved aside, that could not be removed; empty normally.
    QString leftoverFolder;
    // What the check found that did not stop the export: advice, and for version 03 the errors
    // of the current check as warnings.
    QList<Finding> notes;
};

// An export that would have deleted files of the old PHOTO folder that no export made, and
// was not allowed to: nothing was written.
class DeliveryDeclined : public AppError {
public:
    explicit DeliveryDeclined(QStringList files);
    const QStringList& files() const { return files_; }

private:
    QStringList files_;
};

// An export whose warnings the user did not let pass: nothing was written.
class DeliveryWithheld : public AppError {
public:
    DeliveryWithheld();
};

// An export the check refused: nothing was written.
class DeliveryRefused : public AppError {
public:
    explicit DeliveryRefused(QList<Finding> findings);
    const QList<Finding>& findings() const { return findings_; }

private:
    QList<Finding> findings_;
};

namespace DeliveryExport {

extern const QString FolderName;    // "PHOTO"
extern const QString DtdName;       // "PHOTO03.DTD", the Part's standard
extern const QString XmlName;       // "PHOTO.XML"
extern const QString FailureTitle;  // title of the failure message box
extern const QString CancelledText; // what the window says after a stop
extern const QString NoSpace;       // the disk cannot hold the new folder beside the old one
extern const QString Busy;          // another export writes into the same folder
extern const QString RemoveAsk;     // the question after the foreign files
extern const QString WarningsAsk;   // the question after the warnings of a version 03 export

// Given the files of the old PHOTO folder that no export made, which would be deleted with
// it; true lets them go.
using ConfirmRemoval = std::function<bool(const QStringList& files)>;

// Given what the check found that does not stop the export, before anything is written;
// false stops it.
using ConfirmFindings = std::function<bool(const QList<Finding>& findings)>;

// Both versions run the delivery check over the plan first. Version 05 refuses with its
// errors; version 03, which writes what its standard allowed, refuses only missing photos and
// texts Shift_JIS or XML cannot hold, and passes the check's errors on as warnings, which
// review (unset: let pass) sees with the notes before anything is written.
// Nothing is written when an input album or a photo of the run lies in the old PHOTO folder,
// when PHOTO is a file, when the disk lacks room, or when the old folder holds files no export
// made that confirm (unset: refuse) does not let go. Builds the new PHOTO folder beside the
// old one and puts it in place only when every file is written and on the disk, so a failure
// or a stop leaves the previous delivery as it was. progress hears the bytes copied of all
// bytes to copy; a stop throws Cancelled. Throws AppError with the reason.
DeliveryResult run(const DeliveryRequest& request, const Progress& progress = {},
                   const ConfirmRemoval& confirm = {}, const ConfirmFindings& review = {});

// Puts right what an export killed half-way left in folder: the previous PHOTO folder comes
// back if it was moved aside and no new one took its place; unfinished folders are removed.
// A folder that a running export writes into is left alone.
void recoverInterrupted(const QString& folder);

// The same for every folder that a killed export was writing into, wherever it is. Each
// export does this first; so does the start of the program.
void recoverAllInterrupted();

// The question the window asks before files no export made are deleted.
QString removalQuestion(const QStringList& files);

// The question before an export with warnings is written.
QString warningQuestion(const QList<Finding>& findings);

// "写真管理基準: PHOTO05 (土木202303-01)": what an export wrote.
QString standardLine(PhotoStandard::Version version, const QString& standard);

// What the window says when an export is done.
QString doneText(const DeliveryResult& result);

// "error<TAB>code<TAB>album n 行目 (photo)<TAB>element<TAB>message" for a refusal's finding.
QString refusalLine(const Finding& finding);

// The message box text after a stop: the previous delivery in folder, if there is one, is
// unchanged.
QString cancelledText(const QString& folder);

// The message box text for a failed export: "エラー", a line break and the reason.
QString failureText(const QString& reason);

} // namespace DeliveryExport
