#include "delivery/kana_width.h"

using namespace Qt::StringLiterals;

namespace KanaWidth {

namespace {

// U+FF61..U+FF9F in order.
const QString FullForms =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜"_s;

constexpr int FirstDeliveryLine = 9;
constexpr int LastDeliveryLine = 19;

bool isHalfWidthKana(QChar c) {
    return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F;
}

} // namespace

QString toFullWidth(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (!isHalfWidthKana(c)) {
            result += c;
            continue;
        }
        const QChar full = FullForms.at(c.unicode() - 0xFF61);
        const bool voiced = c.unicode() == 0xFF9E;
        const bool semiVoiced = c.unicode() == 0xFF9F;
        if ((voiced || semiVoiced) && !result.isEmpty()) {
            const QChar before = result.back();
            const QString pair = QString(before) + (voiced ? QChar(0x3099) : QChar(0x309A));
            const QString joined = pair.normalized(QString::NormalizationForm_C);
            if (joined.size() == 1) {
                result.back() = joined.at(0);
                continue;
            }
        }
        result += full;
    }
    return result;
}

int convertDeliveryLines(QList<AlbumRow>& rows) {
    int changed = 0;
    for (AlbumRow& row : rows) {
        bool any = false;
        for (QChar c : row.info)
            any = any || isHalfWidthKana(c);
        if (!any) continue;
        QStringList lines = row.info.split(u"\r\n"_s);
        for (int n = FirstDeliveryLine; n <= LastDeliveryLine && n <= lines.size(); ++n)
            lines[n - 1] = toFullWidth(lines.at(n - 1));
        const QString text = lines.join(u"\r\n"_s);
        if (text != row.info) {
            row.info = text;
            ++changed;
        }
    }
    return changed;
}

} // namespace KanaWidth
