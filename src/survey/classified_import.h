#pragma once

#include "workspace/album_sheet.h"

#include <QList>
#include <QString>
#include <QStringList>

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
    int linesLeftOut = 0; // chosen lines the album had no room for
};

// Blocks in the order given; the groups with a line written get the flag "1". A line is
// written whole or not at all: one whose far photo would not fit is left out with the rest.
Result build(ClassifiedData& data, const QList<Block>& blocks, int maxRows);

// Every photo the lines name, near and far, of all groups: the inputs of a run over them.
QStringList photosOf(const ClassifiedData& data);

// "3-4,1" or "all": the blocks of a group list of `groups` rows. Throws AppError.
QList<Block> parseBlocks(const QString& selection, int groups);

} // namespace ClassifiedImport
