#pragma once

#include "base/batch_command.h"

// Headless sub-commands: album pages and the CD label page as PDF files, with the settings of
// the program folder: "pdf" and "label-pdf".
namespace PrintBatch {

QList<BatchCommand> commands();

} // namespace PrintBatch
