#pragma once

#include "app/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct DeliveryRequest {
    QList<AlbumRow> sheetRows; // album sheet rows 1..AlbumRowCount
    QStringList listedAlbums;  // further album files, exported after the sheet
    QString folder;            // where PHOTO is made
    QString dtdPath;           // the PHOTO03.DTD to ship
    int maxRows = AlbumSheet::DesignMaxRows;
};

struct DeliveryResult {
    int photoCount = 0;
    qint64 bytes = 0;
    // The previous delivery, moved aside, that could not be removed; empty normally.
    QString leftoverFolder;
};

namespace DeliveryExport {

extern const QString FolderName;   // "PHOTO"
extern const QString DtdName;      // "PHOTO03.DTD"
extern const QString XmlName;      // "PHOTO.XML"
extern const QString FailureTitle; // title of the failure message box
extern const QString Cancelled;

// Bytes copied so far and the total; false cancels.
using Progress = std::function<bool(qint64 copied, qint64 total)>;

// Builds the new PHOTO folder beside the old one and puts it in place only when every file
// is written and on the disk, so a failure or a cancel leaves the previous delivery as it
// was. Throws AppError with the reason.
DeliveryResult run(const DeliveryRequest& request, const Progress& progress = {});

// The message box text for a failed export: "エラー", a line break and the reason.
QString failureText(const QString& reason);

} // namespace DeliveryExport
