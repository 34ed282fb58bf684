#include "print/label_dates.h"

#include "base/half_width.h"

#include <QDateTime>
#include <QRegularExpression>

#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

using namespace Qt::StringLiterals;

namespace {

struct Era {
    QString name;
    QChar letter;
    int firstYear;
};

const Era Eras[] = {
    {u"令和"_s, u'R', 2019}, {u"平成"_s, u'H', 1989}, {u"昭和"_s, u'S', 1926},
    {u"大正"_s, u'T', 1912}, {u"明治"_s, u'M', 1868},
};

std::optional<QDate> dateOf(int year, int month, int day) {
    const QDate date(year, month, day);
    if (!date.isValid()) return std::nullopt;
    return date;
}

// ICU's Japanese calendar names the era; "jpanyear" writes its first year as 元年.
QString formatJapanese(const QDate& date, const QString& pattern) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString icuPattern(reinterpret_cast<const UChar*>(pattern.utf16()),
                                        int32_t(pattern.size()));
    icu::SimpleDateFormat format(icuPattern, icu::UnicodeString(u"y=jpanyear"),
                                 icu::Locale("ja_JP@calendar=japanese"), status);
    if (U_FAILURE(status)) return {};
    format.setTimeZone(*icu::TimeZone::getGMT());
    const UDate when = double(QDateTime(date, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch());
    icu::UnicodeString out;
    format.format(when, out);
    return QString(reinterpret_cast<const QChar*>(out.getBuffer()), out.length());
}

// The date part of a text: full-width forms read as ASCII, and a time of day after the date
// ("2019/5/1 10:00:00", as a date copied from a spreadsheet carries it) left out.
QString datePart(const QString& typed) {
    static const QRegularExpression time(uR"((?:\s+|T)\d{1,2}:\d{2}(?::\d{2}(?:\.\d+)?)?$)"_s);
    return halfWidthAscii(typed).trimmed().remove(time);
}

} // namespace

namespace LabelDates {

std::optional<QDate> parse(const QString& typed) {
    const QString text = datePart(typed);
    static const QRegularExpression western(
        uR"(^(\d{4})\s*[/\-.年]\s*(\d{1,2})\s*(?:[/\-.月]\s*(?:(\d{1,2})\s*日?)?)?$)"_s);
    if (const auto m = western.match(text); m.hasMatch())
        return dateOf(m.captured(1).toInt(), m.captured(2).toInt(),
                      m.captured(3).isEmpty() ? 1 : m.captured(3).toInt());

    static const QRegularExpression era(
        uR"(^(令和|平成|昭和|大正|明治|[RHSTMrhstm])\s*(\d{1,2}|元)\s*[/\-.年]\s*(\d{1,2})\s*(?:[/\-.月]\s*(?:(\d{1,2})\s*日?)?)?$)"_s);
    const auto m = era.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QString name = m.captured(1);
    for (const Era& e : Eras) {
        if (name != e.name && name.toUpper() != e.letter) continue;
        const int eraYear = m.captured(2) == u"元"_s ? 1 : m.captured(2).toInt();
        if (eraYear < 1) return std::nullopt;
        return dateOf(e.firstYear + eraYear - 1, m.captured(3).toInt(),
                      m.captured(4).isEmpty() ? 1 : m.captured(4).toInt());
    }
    return std::nullopt;
}

QString eraFiscalYear(const QString& text) {
    const auto date = parse(text);
    return date ? formatJapanese(*date, u"Gy年度 "_s) : text;
}

QString eraYearMonth(const QString& text) {
    const auto date = parse(text);
    return date ? formatJapanese(*date, u"Gy年M月"_s) : text;
}

QString westernVersionDate(const QString& text) {
    const auto date = parse(text);
    return date ? date->toString(u"yyyy年M月d日版"_s) : text;
}

QString westernDate(const QString& text) {
    const auto date = parse(text);
    return date ? date->toString(u"yyyy年M月d日"_s) : text;
}

} // namespace LabelDates
