#pragma once

#include <QString>
#include <QStringList>

class Settings;

// The remembered entries of the delivery dialog's combo boxes: five settings texts a box,
// newest first.
namespace DeliveryHistory {

inline constexpr int Depth = 5;
inline constexpr int RequiredBoxes = 9;    // Cmb1(0..8): entries 1..45
inline constexpr int ConditionalBoxes = 4; // Cmb2(0..3): entries 51..70

int requiredFirstEntry(int box);
int conditionalFirstEntry(int box);

// The non-empty entries of one box, in their order.
QStringList entries(const Settings& settings, int firstEntry);

// A text already remembered keeps the order as it is; a new one goes first and the oldest of
// the five is dropped. An empty text changes nothing.
void remember(Settings& settings, int firstEntry, const QString& text);

} // namespace DeliveryHistory
