#include "delivery/delivery_settings.h"

#include "workspace/settings.h"

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace DeliverySettings {

Version version(const Settings& settings) {
    return settings.text(SettingText::DeliveryStandard) == u"03"_s ? Version::V03 : Version::V05;
}

QString guideline(const Settings& settings) {
    return settings.text(SettingText::DeliveryGuideline);
}

QString frequencyDefault(const Settings& settings) {
    return settings.text(SettingText::DeliveryFrequencyDefault);
}

void store(Settings& settings, Version version, const QString& guideline, const QString& frequencyDefault) {
    settings.setText(SettingText::DeliveryStandard, PhotoStandard::versionCode(version));
    settings.setText(SettingText::DeliveryGuideline, guideline);
    settings.setText(SettingText::DeliveryFrequencyDefault, frequencyDefault);
}

void apply(const Settings& settings, Version version, DeliveryRequest& request) {
    request.version = version;
    if (version == Version::V03) return;
    request.standard = guideline(settings);
    request.frequencyDefault = frequencyDefault(settings);
}

} // namespace DeliverySettings
