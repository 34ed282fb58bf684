#pragma once

#include "delivery/delivery_request.h"
#include "delivery/photo_header.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// What one export will do: every photo in serial order with its source and its index text.
struct DeliveryPhoto {
    int serial = 0;
    QString sourcePath;
    qint64 size = 0;
    bool found = false;
    QString origin;       // "写真帳 3 行目", "other.dat 2 行目": where the user finds the row
    int sheetRow = 0;     // its row on the album sheet; 0 for rows of listed albums
    PhotoHeader header;   // read for version 05 only
    bool undated = false; // neither line 13 nor Exif gave 撮影年月日
    // Version 05: the elements whose written value is not what the photo's blackboard says,
    // with the blackboard's value.
    QList<std::pair<QString, QString>> blackboardDiffers;
};

// Characters XML cannot hold, found in one value; the index text is planned without them.
struct IllegalText {
    int serial = 0;
    QString element;
    int line = 0;           // information line
    QStringList characters; // "U+0001"
};

struct DeliveryPlan {
    PhotoStandard::Version version = PhotoStandard::Version::V03;
    QString standard; // 適用要領基準 written
    QList<DeliveryPhoto> photos;
    QString xml; // the whole PHOTO.XML text
    qint64 totalBytes = 0;
    QStringList unmappable; // version 03: texts Shift_JIS cannot hold, by row and item
    QList<IllegalText> illegal;
    // Serial and element of each value holding characters Shift_JIS (version 03) or XML cannot
    // hold: refused by either export.
    QSet<std::pair<int, QString>> refused;
};

namespace DeliveryPlanner {

extern const QString SheetName; // "写真帳"
extern const QString NoPhotos;

// Rows with a photo path are numbered over the sheet rows first, then over each listed album
// in list order. For version 05 each photo's headers are read here, once: 撮影年月日 comes
// from line 13 or else from Exif. Throws AppError when an album cannot be read or no row has
// a photo.
DeliveryPlan plan(const DeliveryRequest& request);

// The problems version 03 refuses on (missing photos, texts Shift_JIS or XML cannot hold), as
// one AppError listing them all with their rows and lines; version 05 reports them through the
// check instead.
void refuseProblems(const DeliveryPlan& plan);

} // namespace DeliveryPlanner
