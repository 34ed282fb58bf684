#pragma once

#include "base/batch_command.h"

// "deliver ALBUM [MORE.dat ...] --to FOLDER": the delivery folder without a window.
namespace DeliveryBatch {

QList<BatchCommand> commands();

} // namespace DeliveryBatch
