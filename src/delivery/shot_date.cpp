#include "delivery/shot_date.h"

#include "base/half_width.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace ShotDate {

namespace {

// The year before an era's first year.
int eraBase(const QString& era) {
    if (era == u"令和"_s || era.compare(u"R"_s, Qt::CaseInsensitive) == 0) return 2018;
    if (era == u"平成"_s || era.compare(u"H"_s, Qt::CaseInsensitive) == 0) return 1988;
    if (era == u"昭和"_s || era.compare(u"S"_s, Qt::CaseInsensitive) == 0) return 1925;
    return 0;
}

} // namespace

QDate parse(const QString& text) {
    static const QRegularExpression form(
        u"^(令和|平成|昭和|[RHSrhs])?\\s*(\\d{1,4}|元)\\s*[-/.年]\\s*(\\d{1,2})\\s*[-/.月]\\s*(\\d{1,2})\\s*日?$"_s);
    const QRegularExpressionMatch match = form.match(halfWidthAscii(text).trimmed());
    if (!match.hasMatch()) return {};
    const QString era = match.captured(1);
    const QString yearText = match.captured(2);
    int year = yearText == u"元"_s ? 1 : yearText.toInt();
    if (era.isEmpty()) {
        if (yearText.size() != 4) return {};
    } else {
        if (yearText.size() > 2) return {};
        year += eraBase(era);
    }
    return QDate(year, match.captured(3).toInt(), match.captured(4).toInt());
}

QString isoText(const QDate& date) {
    return date.toString(u"yyyy-MM-dd"_s);
}

} // namespace ShotDate
