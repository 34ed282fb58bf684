#include "excel/phrase_recall.h"

#include "settings/settings.h"

std::optional<QString> recallPhrase(const QString& text, const std::function<QString(int)>& phrase) {
    if (!text.startsWith(u'*') || !phrase) return std::nullopt;
    const int n = SettingValue::fromLine(text.mid(1)).toRoundedInt();
    if (n <= 0 || n >= 501) return std::nullopt;
    return phrase(n);
}
