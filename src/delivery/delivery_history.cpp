#include "delivery/delivery_history.h"

#include "workspace/settings.h"

namespace DeliveryHistory {

int requiredFirstEntry(int box) {
    return SettingText::DeliveryRequiredHistoryFirst + Depth * box;
}

int conditionalFirstEntry(int box) {
    return SettingText::DeliveryConditionalHistoryFirst + Depth * box;
}

QStringList entries(const Settings& settings, int firstEntry) {
    QStringList list;
    for (int n = firstEntry; n < firstEntry + Depth; ++n)
        if (!settings.text(n).isEmpty()) list << settings.text(n);
    return list;
}

void remember(Settings& settings, int firstEntry, const QString& text) {
    if (text.isEmpty() || entries(settings, firstEntry).contains(text)) return;
    for (int n = firstEntry + Depth - 1; n > firstEntry; --n)
        settings.setText(n, settings.text(n - 1));
    settings.setText(firstEntry, text);
}

} // namespace DeliveryHistory
