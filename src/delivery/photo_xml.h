#pragma once

#include "base/shared_routines.h"
#include "delivery/photo_standard.h"

#include <QHash>
#include <QList>
#include <QString>

// The text of PHOTO.XML: lines ended by CR LF, no indentation, the elements of the chosen
// version in the order of its table.
namespace PhotoXml {

// Element name -> text; elements without a value are written empty. A repeatable element
// holds one text per occurrence, separated by RepeatSeparator.
using Values = QHash<QString, QString>;
inline constexpr QChar RepeatSeparator = u'\n';

// The information lines written for each photo, with the element that receives each.
struct Item {
    int line;
    QString element;
};
const QList<Item>& items();

// Version 05's flags: lines 20 and 21, after the items.
constexpr int RepresentativeLine = 20; // 代表写真
constexpr int FrequencyLine = 21;      // 提出頻度写真

// The information line that gives an element's value; 0 for an element no line gives.
int lineOf(const QString& element);

// "P0000001.JPG" for serial 1, whatever the source file was.
QString serialFileName(int serial);

// Markup characters of a value as entities, so that any text gives a well-formed file.
QString escaped(const QString& value);

// Lines 10..19 under their elements, and the serial's file items.
Values photoValues(int serial, const FieldBuffer& info);

QString header(PhotoStandard::Version version, const QString& standard);
// One 写真情報 block: 23 lines for version 03, 25 for 05.
QString photoBlock(PhotoStandard::Version version, const Values& values);
QString footer();

} // namespace PhotoXml
