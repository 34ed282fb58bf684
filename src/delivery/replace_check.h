#pragma once

#include "delivery/delivery_plan.h"

#include <QList>
#include <QString>
#include <QStringList>

// What replacing the PHOTO folder would destroy, found before anything is written: the
// export deletes the previous folder with everything in it.
namespace ReplaceCheck {

extern const QString PhotoIsFile;  // a file, not a folder, has the name PHOTO
extern const QString AlbumsInside; // an album the run reads lies in the folder
extern const QString PhotosInside; // a row's photo lies in the folder
extern const QString Foreign;      // files no export made

// Throws AppError when target is a file rather than a folder or a link, or when one of the
// albums or of the plan's photos lies inside target (also through a link to it), naming
// each file and row.
void refuseLosses(const QString& target, const QStringList& albums, const QList<DeliveryPhoto>& photos);

// The files inside target that no export made, relative to it: everything but the index,
// the DTDs and the photos and drawings the index lists; every file when the index cannot be
// read. Empty when target is a link, since only the link itself is replaced.
QStringList foreignFiles(const QString& target);

// Foreign and the files, at most limit of them named.
QString foreignText(const QStringList& files, int limit);

} // namespace ReplaceCheck
