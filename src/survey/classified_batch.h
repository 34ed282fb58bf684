#pragma once

#include "base/batch_command.h"

// The headless sub-commands of the classified import: "classified-groups", "classified-check"
// and "import-classified".
namespace ClassifiedBatch {

QList<BatchCommand> commands();

} // namespace ClassifiedBatch
