#pragma once

#include "workspace/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

// A CSV photo list: a header line, then "line 1,line 2,file name" per photo, the file name
// relative to the folder of the list. CP932 or UTF-8 (AnsiCodec::decode).
struct CsvPhotoList {
    QString folder;           // the list's folder with its trailing separator
    QList<AlbumRow> rows;     // row 1 first
    int linesNotImported = 0; // lines beyond the album's capacity
    QStringList photos;       // every photo the list names, also on lines beyond the capacity
};

extern const QString CsvDialogTitle;  // "CSVファイルを開く"
extern const QString CsvDialogFilter; // "CSVﾌｧｲﾙ(*.CSV)|*.CSV"

// The folder part of a path, up to and including its last "\" or "/".
QString folderOfPath(const QString& path);

// The photo path of a list line: a relative name is joined to the list's folder, its "\" or "/"
// separators becoming this system's own (lists written on Windows say "sub\P002.JPG"). The
// readers then resolve it with PhotoFile, since such lists ignore letter case.
QString joinListPath(const QString& folder, QStringView name);

// Throws AppError naming the file and the reason when it cannot be read, and naming the lines
// when any of them is not text in the file's encoding: no row is made from such a file.
CsvPhotoList readCsvPhotoList(const QString& path, int maxRows);
