#pragma once

#include "base/batch_command.h"

// The headless sub-commands of the SIMA side: "import-parcels", "parcel-list", "parcel-album",
// "parcel-report" and "sima-points".
namespace SimaBatch {

QList<BatchCommand> commands();

// List rows from "2,5-7" or "all" for a list of `count` rows: ascending, each once. Throws
// BatchUsageError for rows outside the list or words it cannot read.
QList<int> parcelRowsFromList(const QString& list, int count);

} // namespace SimaBatch
