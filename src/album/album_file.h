#pragma once

#include "base/file_state.h"
#include "workspace/album_sheet.h"

#include <QList>
#include <QString>

// Album files: the text of columns 2 to 4 of every used row, in the sheet file format. The
// thumbnails of column 1 are made again after loading.
namespace AlbumFile {

extern const QString DialogFilter;          // "すべてのﾌｧｲﾙ (*.*)|*.*|..."
inline constexpr int DialogFilterIndex = 3; // *.dat
extern const QString Extension;             // ".dat", added to a name typed without one
// "アルバムファイルは開いた後に他の処理で変更されています。": another run wrote the file after
// this one read it.
extern const QString ChangedElsewhere;

// Throw AppError naming the file and the reason. A file with rows beyond maxRows is refused
// whole, never cut. A photo path relative to the album names a photo beside the album, not in
// whatever folder the program runs from: load makes it whole. load puts the state of what it
// read into state, when given; save answers the state of what it wrote.
QList<AlbumRow> load(const QString& path, int maxRows, FileState* state = nullptr);
FileState save(const QString& path, const QList<AlbumRow>& rows);
// save, for a run that read the album as read and changed it: when the file no longer holds
// what was read, nothing is written and AppError says so, so that another run's changes are
// never undone.
FileState saveOver(const QString& path, const QList<AlbumRow>& rows, const FileState& read);

} // namespace AlbumFile
