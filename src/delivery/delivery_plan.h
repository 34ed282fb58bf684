#pragma once

#include "app/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one export will do: every photo in serial order with its source and its index text.
struct DeliveryPhoto {
    int serial = 0;
    QString sourcePath;
    qint64 size = 0;
    QString origin; // "写真帳 3 行目", "other.dat 2 行目": where the user finds the row
};

struct DeliveryPlan {
    QList<DeliveryPhoto> photos;
    QString xml; // the whole PHOTO.XML text
    qint64 totalBytes = 0;
};

namespace DeliveryPlanner {

extern const QString SheetName; // "写真帳"
extern const QString NoPhotos;

// Rows with a photo path are numbered over the sheet rows first, then over each listed album
// in list order. Every problem the export would meet part-way (an album that cannot be read,
// missing photos, texts Shift_JIS cannot hold) is found here, before anything is written, and
// thrown as one AppError listing them all.
DeliveryPlan plan(const QList<AlbumRow>& sheetRows, const QStringList& listedAlbums, int maxRows);

} // namespace DeliveryPlanner
