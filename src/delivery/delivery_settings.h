#pragma once

#include "delivery/delivery_request.h"

class Settings;

// The delivery's remembered choice of standard, kept in settings texts that other versions of
// the program leave alone.
namespace DeliverySettings {

// With nothing stored the current standard (05): a 03 delivery made today is refused.
PhotoStandard::Version version(const Settings& settings);
QString guideline(const Settings& settings);        // empty: the version's default
QString frequencyDefault(const Settings& settings); // empty: "0"

void store(Settings& settings, PhotoStandard::Version version, const QString& guideline,
           const QString& frequencyDefault);

// The version, 適用要領基準 and 提出頻度写真 default of the settings, into the request.
void apply(const Settings& settings, PhotoStandard::Version version, DeliveryRequest& request);

} // namespace DeliverySettings
