#pragma once

#include "app/app_error.h"
#include "delivery/delivery_request.h"
#include "delivery/finding.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct DeliveryResult {
    int photoCount = 0;
    qint64 bytes = 0;
    // The previous delivery, moved aside, that could not be removed; empty normally.
    QString leftoverFolder;
    QList<Finding> notes; // advice of the check that did not stop the export
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

extern const QString FolderName;   // "PHOTO"
extern const QString DtdName;      // "PHOTO03.DTD", the Part's standard
extern const QString XmlName;      // "PHOTO.XML"
extern const QString FailureTitle; // title of the failure message box
extern const QString Cancelled;

// Bytes copied so far and the total; false cancels.
using Progress = std::function<bool(qint64 copied, qint64 total)>;

// Version 05 runs the delivery check over the plan first and refuses with its errors.
// Builds the new PHOTO folder beside the old one and puts it in place only when every file
// is written and on the disk, so a failure or a cancel leaves the previous delivery as it
// was. Throws AppError with the reason.
DeliveryResult run(const DeliveryRequest& request, const Progress& progress = {});

// Puts right what an export killed half-way left in folder: the previous PHOTO folder comes
// back if it was moved aside and no new one took its place; unfinished folders are removed.
// Each export does this first.
void recoverInterrupted(const QString& folder);

// "error<TAB>code<TAB>album n 行目 (photo)<TAB>element<TAB>message" for a refusal's finding.
QString refusalLine(const Finding& finding);

// The message box text for a failed export: "エラー", a line break and the reason.
QString failureText(const QString& reason);

} // namespace DeliveryExport
