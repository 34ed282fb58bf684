#pragma once

#include "app/command_line.h"

#include <QTextStream>

// The headless sub-commands of the photo side: "place" and "copy-photos".
namespace AlbumBatch {

// Fills result when the arguments start with one of these sub-commands; false otherwise.
bool parse(const QStringList& arguments, CommandLine& result);
extern const QString Usage; // their lines of the usage text

// Exit status: 0 done, 1 error, 3 done with photos left out. Throws AppError on failure.
int run(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err);

} // namespace AlbumBatch
