#pragma once

#include "delivery/finding.h"
#include "delivery/photo_header.h"
#include "delivery/photo_standard.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The files beside an index, as a folder holds them or as an export is about to write them.
struct IndexFiles {
    QStringList pictures; // names in PIC
    QStringList drawings; // names in DRA
    QStringList topLevel; // names in PHOTO other than PIC and DRA, the index included
    // The headers of a picture named in `pictures`, and of a drawing named in `drawings`; the
    // files' contents are not looked at when unset.
    std::function<PhotoHeader(const QString& name)> header;
    std::function<PhotoHeader(const QString& name)> drawingHeader;
};

namespace IndexCheck {

// Every rule of the index's version over its text (already decoded) and files, each fault
// reported once. Throws AppError when the text names no version this program knows.
QList<Finding> check(const QString& xml, const IndexFiles& files, bool fromAlbum = false,
                     PhotoStandard::Version* version = nullptr);

} // namespace IndexCheck
