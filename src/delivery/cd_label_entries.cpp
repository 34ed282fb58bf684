#include "delivery/cd_label_entries.h"

#include "print/label_pages.h"
#include "workspace/settings.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

double numberOf(const QString& text) {
    return SettingValue::string(text).toNumber();
}

} // namespace

CdLabelEntries CdLabelEntries::load(const Settings& settings) {
    CdLabelEntries entries;
    entries.registry = numberOf(settings.text(SettingText::CdLabelKind)) == 1 ? CORINS : TECRIS;
    for (int n = SettingText::CdLabelRowFirst; n <= SettingText::CdLabelRowLast; ++n)
        entries.rows << settings.text(n);
    entries.startX = settings.text(SettingText::CdLabelStartX);
    entries.startY = settings.text(SettingText::CdLabelStartY);
    // Checked exactly when the preview will draw the frame.
    entries.frame = LabelPages::frameWanted(settings);
    return entries;
}

void CdLabelEntries::store(Settings& settings) const {
    settings.setText(SettingText::CdLabelKind, registry == TECRIS ? u"0"_s : u"1"_s);
    settings.setText(SettingText::CdLabelStartX, startPositionValue(startX));
    settings.setText(SettingText::CdLabelStartY, startPositionValue(startY));
    settings.setText(SettingText::CdLabelFrameOn, frame ? u"1"_s : u"0"_s);
    for (int i = 0; i < RowCount; ++i)
        settings.setText(SettingText::CdLabelRowFirst + i, rows.value(i));
}

QString startPositionValue(const QString& typed) {
    const double value = numberOf(typed);
    // Only a run of digits beyond the double range is not finite; it places nothing sensibly.
    return SettingValue::number(std::isfinite(value) ? value : 0).text;
}
