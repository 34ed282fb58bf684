#pragma once

#include "app/album_sheet.h"

#include <QList>
#include <QString>

struct ClassifiedData;

// The chosen groups as album rows: two rows per line, the near photo with the information and
// the far photo below it.
namespace ClassifiedImport {

// A block of group rows (from 1), top to bottom, as the user selected it.
struct Block {
    int top = 0;
    int bottom = 0;
};

struct Result {
    QList<AlbumRow> rows;
    int linesImported = 0;
    bool rowsLeftOut = false; // the album was full before every chosen line was written
};

// Blocks in the order given; the groups reached get the flag "1". A line whose far photo
// no longer fits keeps its near photo on the last row.
Result build(ClassifiedData& data, const QList<Block>& blocks, int maxRows);

// "3-4,1" or "all": the blocks of a group list of `groups` rows. Throws AppError.
QList<Block> parseBlocks(const QString& selection, int groups);

} // namespace ClassifiedImport
