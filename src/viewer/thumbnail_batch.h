#pragma once

#include "base/batch_command.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// `thumbnails ALBUM.dat|PHOTO...`: brings the desktop's cached thumbnails of an album's photos,
// or of the photos given, up to date. Progress and the photos left out go to `err`. Returns
// 0 when done, 3 when photos were missing or could not be decoded, 1 when the cache could not
// be written; throws AppError when the album cannot be read.
int runThumbnailBatch(const QStringList& inputs, const QString& programFolder, QTextStream& err);

// True when the one input is an album file (".dat"): its rows' photos are meant, each once.
// Otherwise the inputs are the photos.
bool isAlbumInput(const QStringList& inputs);

namespace ViewerBatch {

// "thumbnails".
QList<BatchCommand> commands();

} // namespace ViewerBatch
