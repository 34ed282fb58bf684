#pragma once

#include "base/batch_command.h"

// "tovenla2 field-report ALBUM.dat OUT.xlsx [options]": the survey reports without a window.
namespace FieldReportBatch {

QList<BatchCommand> commands();

} // namespace FieldReportBatch
