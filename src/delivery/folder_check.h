#pragma once

#include "delivery/finding.h"
#include "delivery/photo_standard.h"

#include <QList>
#include <QString>

// The check of a PHOTO folder as it stands on a disk, ours or anyone's.
namespace FolderCheck {

struct Result {
    QString photoFolder; // the PHOTO folder checked
    PhotoStandard::Version version = PhotoStandard::Version::V05;
    QList<Finding> findings;
};

// folder is the PHOTO folder or one holding it. Throws AppError when there is nothing to
// check (no such folder, no PHOTO.XML, an unknown version).
Result check(const QString& folder);

// The encoding declared by the index's XML declaration and whether its bytes are Shift_JIS;
// the text decoded as well as it can be.
QList<Finding> encodingFindings(const QByteArray& bytes, QString& text);

} // namespace FolderCheck
