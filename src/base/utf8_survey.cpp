#include "base/utf8_survey.h"

#include <algorithm>
#include <iterator>

namespace {

// Kana, CJK punctuation, ideographs and the full- and half-width forms: in UTF-8 each is a
// three-byte sequence.
bool isJapanese(char32_t c) {
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xFF01 && c <= 0xFFEF);
}

// The length of the well-formed UTF-8 sequence of more than one byte at data[i] and its code
// point, as Qt's decoder reads it (no overlong forms, no surrogates, nothing past U+10FFFF);
// 0 when the bytes there are no such sequence.
int utf8Sequence(const uchar* data, qsizetype size, qsizetype i, char32_t& code) {
    const uchar lead = data[i];
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > size) return 0;
    code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((data[i + k] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (data[i + k] & 0x3F);
    }
    static constexpr char32_t Least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < Least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

} // namespace

Utf8Survey surveyUtf8(QByteArrayView bytes) {
    Utf8Survey survey;
    const uchar* data = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype size = bytes.size();
    const uchar lineEnd = bytes.contains('\n') ? '\n' : '\r';
    // A U+FFFD written in a well-formed file is a character; in a broken one it marks its line
    // as broken too, as the decoder's own marks would.
    QList<int> replacementLines;
    int line = 1;
    bool bad = false, nul = false, japanese = false, replacement = false;
    const auto endLine = [&] {
        if (bad)
            survey.badLines << line;
        else if (japanese)
            survey.japaneseLines << line;
        if (nul) survey.nulLines << line;
        if (replacement && !bad) replacementLines << line;
        bad = nul = japanese = replacement = false;
    };
    for (qsizetype i = 0; i < size;) {
        const uchar b = data[i];
        if (b < 0x80) {
            if (b == lineEnd) {
                endLine();
                ++line;
            } else if (b == 0) {
                nul = true;
            }
            ++i;
            continue;
        }
        char32_t code = 0;
        const int length = utf8Sequence(data, size, i, code);
        if (length == 0) {
            bad = true;
            survey.valid = false;
            ++i;
            continue;
        }
        if (code == U'\uFFFD')
            replacement = true;
        else if (isJapanese(code))
            japanese = true;
        i += length;
    }
    endLine();
    if (!survey.valid && !replacementLines.isEmpty()) {
        for (int marked : std::as_const(replacementLines))
            survey.japaneseLines.removeOne(marked);
        QList<int> all;
        std::set_union(survey.badLines.begin(), survey.badLines.end(), replacementLines.begin(),
                       replacementLines.end(), std::back_inserter(all));
        survey.badLines = std::move(all);
    }
    return survey;
}
