#pragma once

#include <QDate>
#include <QString>

// The dates users type into information line 13: 2026-05-03, 2026/5/3, 2026.5.3,
// 2026年5月3日, 令和8年5月3日, R8.5.3, H28/5/3 (full-width digits too).
namespace ShotDate {

// A null date when the text is none of these or no real day.
QDate parse(const QString& text);

// CCYY-MM-DD, the form the index holds.
QString isoText(const QDate& date);

} // namespace ShotDate
