#pragma once

#include "delivery/delivery_plan.h"
#include "delivery/finding.h"

#include <QList>

// The delivery check over what an export is about to write, before anything is written.
namespace DeliveryReview {

// Findings of the planned index and photos, each placed at its album, row, photo and
// information line. A version 03 plan gets the errors as warnings, since its export writes
// them, except those that export refuses too.
QList<Finding> review(const DeliveryPlan& plan);

} // namespace DeliveryReview
