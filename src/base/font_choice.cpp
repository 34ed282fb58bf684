#include "base/font_choice.h"

#include "base/half_width.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace FontChoice {

namespace {

// The sizes font dialogs list for scalable fonts, with 10.5 for Japanese documents.
constexpr double UsualSizes[] = {8, 9, 10, 10.5, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// A size the dialog opens with is offered too when it lies in this range; one far outside it
// is no size anyone chose (a "10.5" once read as 105).
constexpr double SmallestOpening = 1;
constexpr double LargestOpening = 72;

// Sizes are compared to a hundredth of a point, so that a size read back from text matches.
bool sameSize(double a, double b) {
    return std::fabs(a - b) < 0.005;
}

// The number a size text holds; nothing unless the whole text is one number.
std::optional<double> sizeOf(const QString& text) {
    bool ok = false;
    const double size = halfWidthAscii(text).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(size)) return std::nullopt;
    return size;
}

// A leading number, as the settings read their numbers: "10.5pt" is 10.5, "pt" is 0.
double leadingSize(const QString& text) {
    static const QRegularExpression number(u"^\\s*([0-9]+(?:\\.[0-9]+)?)"_s);
    const QRegularExpressionMatch match = number.match(halfWidthAscii(text));
    return match.hasMatch() ? match.captured(1).toDouble() : 0;
}

} // namespace

const QString SizeNotOffered = u"このサイズは選べません。一覧にあるサイズを選ぶか入力して下さい。"_s;

std::optional<Font> parse(const QString& text) {
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0) return std::nullopt;
    return Font{text.left(colon), leadingSize(text.mid(colon + 1))};
}

QString sizeText(double size) {
    return QString::number(std::round(size * 100) / 100, 'g', 15);
}

QString format(const Font& font) {
    return font.family + u':' + sizeText(font.size);
}

QList<double> offeredSizes(double current) {
    QList<double> sizes(std::begin(UsualSizes), std::end(UsualSizes));
    const bool listed =
        std::any_of(sizes.cbegin(), sizes.cend(), [current](double s) { return sameSize(s, current); });
    if (current >= SmallestOpening && current <= LargestOpening && !listed) {
        sizes.append(current);
        std::sort(sizes.begin(), sizes.end());
    }
    return sizes;
}

std::optional<double> offeredSize(const QString& typed, const QList<double>& offered) {
    const std::optional<double> size = sizeOf(typed);
    if (!size) return std::nullopt;
    for (const double s : offered)
        if (sameSize(s, *size)) return s;
    return std::nullopt;
}

} // namespace FontChoice
