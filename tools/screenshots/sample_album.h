#pragma once

#include "workspace/album_sheet.h"

#include <QList>
#include <QSize>
#include <QString>

// A small made-up job: site photos drawn here, with the lines a surveyor would type.
namespace SampleAlbum {

// Writes the photos into folder and answers the album's rows, pictures fitted into cell.
QList<AlbumRow> make(const QString& folder, QSize cell);

} // namespace SampleAlbum
