#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The dates of the CD label: typed as Western dates (2019/5/1, 2019-05-01, 2019年5月1日, a
// missing day meaning the 1st) or Japanese era dates (令和元年5月1日, R1.5.1).
namespace LabelDates {

std::optional<QDate> parse(const QString& text);

// "令和元年度 ", "令和元年5月", "2019年5月1日版", "2019年5月1日". A text that is not a date
// comes back as typed.
QString eraFiscalYear(const QString& text);
QString eraYearMonth(const QString& text);
QString westernVersionDate(const QString& text);
QString westernDate(const QString& text);

} // namespace LabelDates
