#pragma once

#include "base/batch_command.h"

// The headless sub-commands of the album side: "import-csv", "place" and "copy-photos".
namespace AlbumBatch {

QList<BatchCommand> commands();

} // namespace AlbumBatch
