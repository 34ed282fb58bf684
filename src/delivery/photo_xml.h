#pragma once

#include "app/shared_routines.h"

#include <QList>
#include <QString>

// The text of PHOTO.XML: lines ended by CR LF, no indentation, element names of the photo
// standard 土木200406-01.
namespace PhotoXml {

// The information lines written for each photo, with the element that receives each.
struct Item {
    int line;
    QString element;
};
const QList<Item>& items();

// "P0000001.JPG" for serial 1, whatever the source file was.
QString serialFileName(int serial);

// Markup characters of a value as entities, so that any text gives a well-formed file.
QString escaped(const QString& value);

QString header();
// The 23 lines of one photo; missing information lines give empty elements.
QString photoBlock(int serial, const FieldBuffer& info);
QString footer();

} // namespace PhotoXml
