#pragma once

#include "base/batch_command.h"

// "tovenla2 excel ALBUM.dat OUT.xlsx [options]": the album workbook without a window.
namespace ExcelBatch {

QList<BatchCommand> commands();

} // namespace ExcelBatch
