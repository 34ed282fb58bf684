#include "base/half_width.h"

namespace {

constexpr char16_t FullWidthFirst = 0xFF01; // "！", the full-width form of "!"
constexpr char16_t FullWidthLast = 0xFF5E;  // "～", the full-width form of "~"
constexpr char16_t FullWidthOffset = 0xFF01 - u'!';
constexpr char16_t IdeographicSpace = 0x3000;
constexpr char16_t MinusSign = 0x2212; // what some input methods give for "-"

} // namespace

QString halfWidthAscii(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u >= FullWidthFirst && u <= FullWidthLast)
            c = QChar(char16_t(u - FullWidthOffset));
        else if (u == IdeographicSpace)
            c = u' ';
        else if (u == MinusSign)
            c = u'-';
    }
    return result;
}
