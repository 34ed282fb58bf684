#include "base/shared_routines.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Pieces past the buffer's capacity are dropped unseen, so a line of millions of separators
// costs no more than one of thirty.
FieldBuffer splitAt(const QString& text, const QString& separator) {
    QStringList pieces;
    qsizetype start = 0;
    while (pieces.size() < FieldBuffer::Capacity) {
        const qsizetype end = text.indexOf(separator, start);
        if (end < 0) {
            pieces.append(text.mid(start));
            break;
        }
        pieces.append(text.mid(start, end - start));
        start = end + separator.size();
    }
    return FieldBuffer(std::move(pieces));
}

} // namespace

FieldBuffer::FieldBuffer(QStringList pieces) : pieces_(std::move(pieces)) {}

QString FieldBuffer::operator()(int n) const {
    return (n >= 1 && n <= pieces_.size()) ? pieces_.at(n - 1) : QString();
}

FieldBuffer SplitLines(const QString& text) {
    return splitAt(text, u"\r\n"_s);
}

FieldBuffer SplitFields(const QString& text) {
    return splitAt(text, u","_s);
}

double RoundValue(double value, int digits, int mode) {
    const double sign = value >= 0 ? 1.0 : -1.0;
    const double scale = std::pow(10.0, digits);
    double addend = 0;
    switch (mode) {
    case 0:
        addend = 0.0000000001;
        break;
    case 1:
        addend = 0.5000000001;
        break;
    case 2:
        addend = 0.9000000001;
        break;
    default:
        break;
    }
    return sign * std::floor(std::fabs(value) * scale + addend) / scale;
}

void SortKeys(QStringList& keys, int low, int high) {
    if (low < 0 || high >= keys.size() || low >= high) return;
    // Equal keys are indistinguishable, so any correct sort gives the same result.
    std::sort(keys.begin() + low, keys.begin() + high + 1,
              [](const QString& a, const QString& b) { return QStringView(a).compare(b) < 0; });
}

QString NaturalKey(const QString& text) {
    QString key;
    key.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9') {
            key.append(c);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text.at(end) >= u'0' && text.at(end) <= u'9')
            ++end;
        // The value of the run, written with at least 8 digits; any length stays exact.
        QStringView digits = QStringView(text).mid(i, end - i);
        while (digits.size() > 1 && digits.front() == u'0')
            digits = digits.mid(1);
        key.append(QString(std::max<qsizetype>(0, 8 - digits.size()), u'0'));
        key.append(digits);
        i = end;
    }
    return key;
}
