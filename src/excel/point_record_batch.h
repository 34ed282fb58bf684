#pragma once

#include "base/batch_command.h"

// "tovenla2 point-record ALBUM.dat OUT.xlsx [options]": the point records without a window.
namespace PointRecordBatch {

QList<BatchCommand> commands();

} // namespace PointRecordBatch
