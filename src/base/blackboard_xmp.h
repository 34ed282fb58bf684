#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The items an electronic blackboard stores in a photo's XMP (photo-information schema 3.0).
struct MeasurementItem {
    QString name;
    QString mark;
    QString designedValue;
    QString measuredValue;
    QString unitName;
    QString remarks;
};

struct Blackboard {
    QString constructionName;
    QString contructor; // the schema spells it so
    QString largeClassification;
    QString photoClassification;
    QString constructionType;
    QString middleClassification;
    QString smallClassification;
    QString title;
    QStringList classificationRemarks;
    QString shootingSpot;
    QString isRepresentative;        // "True", "False" or as written
    QString isFrequencyOfSubmission; // likewise
    QString measurementClassification;
    QList<MeasurementItem> measurementItems;
    QString contractorRemarks;
    QString remarks;
};

// One item as shown and printed: the schema's name ("Title", "MeasurementItems[1]/Name"),
// its caption in the album's words and its value.
struct BlackboardItem {
    QString name;
    QString caption;
    QString value;
};

struct BlackboardReading {
    bool found = false; // the photo carries blackboard items
    Blackboard blackboard;
    QDate taken;  // Exif DateTimeOriginal, read from the same headers
    QString note; // why metadata that was there could not be read; empty otherwise
};

namespace BlackboardXmp {

inline constexpr char PhotoInfoNamespace[] = "http://dcpadv.org/schema/3.0/photoinfo";

extern const QString BrokenPacket; // "黒板情報（XMP）を読み取れません"

// Reads the JPEG's headers only. A packet that is no XML, or holds a DTD, is passed over with
// a note: a photo never fails to be placed for its metadata.
BlackboardReading read(const QString& path);

// The blackboard of a standard packet and the extended-XMP segment bodies (GUID, length,
// offset, data) that belong to it.
BlackboardReading fromPackets(const QByteArray& xmp, const QList<QByteArray>& extendedXmp);

// Every non-empty item, in the schema's order.
QList<BlackboardItem> items(const Blackboard& blackboard);

} // namespace BlackboardXmp
