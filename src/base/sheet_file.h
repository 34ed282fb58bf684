#pragma once

#include "base/file_state.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

// The text of a grid, as every grid of the program saves it: only rows holding text are kept,
// each under its row number, so empty rows between them survive.
struct SheetContent {
    int columns = 0;
    std::map<int, QStringList> rows; // row (from 1) → cell texts of columns 1..columns
    // The text of a file saved in a pair with this one, carried along so that the pair can be
    // replaced one file after the other and still read whole; empty for a grid saved alone.
    QString companionText;

    int lastRow() const { return rows.empty() ? 0 : rows.rbegin()->first; }
    bool operator==(const SheetContent&) const = default;
};

// UTF-8 JSON, one row a line:
//   {"format": "tovenla2-sheet", "version": 1, "columns": 4,
//    "companion": "...",                                        only when there is one
//    "rows": [{"row": 1, "cells": {"2": "...", "4": "..."}}, ...]}
// Cell texts are kept exactly, CR LF included.
namespace SheetFile {

inline constexpr int Version = 1;

QByteArray serialize(const SheetContent& content);
// Throws AppError with the reason (in Japanese) when the data is not a sheet file.
SheetContent parse(const QByteArray& bytes);

// Written atomically. Throw AppError naming the file and the reason. save answers the state
// of what it wrote; load puts the state of what it read into state, when given.
FileState save(const QString& path, const SheetContent& content);
SheetContent load(const QString& path, FileState* state = nullptr);

// The message for a file that could not be read or written.
QString loadFailure(const QString& path, const QString& reason);
QString saveFailure(const QString& path, const QString& reason);

} // namespace SheetFile
