#pragma once

#include "workspace/album_sheet.h"

#include <QList>
#include <QString>

// Album files: the text of columns 2 to 4 of every used row, in the sheet file format. The
// thumbnails of column 1 are made again after loading.
namespace AlbumFile {

extern const QString DialogFilter;          // "すべてのﾌｧｲﾙ (*.*)|*.*|..."
inline constexpr int DialogFilterIndex = 3; // *.dat
extern const QString Extension;             // ".dat", added to a name typed without one

// Throw AppError naming the file and the reason. A file with rows beyond maxRows is refused
// whole, never cut. A photo path relative to the album names a photo beside the album, not in
// whatever folder the program runs from: load makes it whole.
QList<AlbumRow> load(const QString& path, int maxRows);
void save(const QString& path, const QList<AlbumRow>& rows);

} // namespace AlbumFile
