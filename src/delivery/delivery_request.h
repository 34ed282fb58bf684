#pragma once

#include "delivery/photo_standard.h"
#include "workspace/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

// One export: the rows, where the folder goes and the standard it follows.
struct DeliveryRequest {
    QList<AlbumRow> sheetRows; // album sheet rows 1..AlbumRowCount
    QStringList listedAlbums;  // further album files, exported after the sheet
    QString folder;            // where PHOTO is made
    QString dtdPath;           // the DTD to ship, PHOTO03.DTD or PHOTO05.DTD
    int maxRows = AlbumSheet::DesignMaxRows;
    PhotoStandard::Version version = PhotoStandard::Version::V03;
    QString standard;         // 適用要領基準; empty: the version's default
    QString frequencyDefault; // 提出頻度写真 of photos that leave it unset; empty: "0"
    QString sheetName;        // how findings name the sheet's rows; empty: "写真帳"
    QString sheetAlbumPath;   // the file the sheet rows came from, when known
};
