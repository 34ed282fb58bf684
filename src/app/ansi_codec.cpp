#include "app/ansi_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr const char* kCodecName = "windows-31j";

QString toCp932Forms(QString text) {
    static const std::pair<char16_t, char16_t> twins[] = {
        {u'\u301C', u'\uFF5E'}, // wave dash
        {u'\u2016', u'\u2225'}, // double vertical line
        {u'\u2212', u'\uFF0D'}, // minus sign
        {u'\u00A2', u'\uFFE0'}, // cent
        {u'\u00A3', u'\uFFE1'}, // pound
        {u'\u00AC', u'\uFFE2'}, // not sign
    };
    for (auto [jis, cp932] : twins)
        text.replace(QChar(jis), QChar(cp932));
    return text;
}

bool decodeStrict(QStringConverter::Encoding encoding, const QByteArray& bytes, QString& out) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    out = decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace

namespace AnsiCodec {

Decoded decode(const QByteArray& bytes) {
    Decoded result;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        result.ok = decodeStrict(QStringConverter::Utf8, bytes.mid(3), result.text);
        return result;
    }
    // Japanese CP932 text is practically never valid UTF-8, so valid UTF-8 with non-ASCII
    // bytes is taken as UTF-8.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    QString utf8;
    if (!ascii && decodeStrict(QStringConverter::Utf8, bytes, utf8)) {
        result.text = utf8;
        return result;
    }
    QStringDecoder cp932(kCodecName, QStringConverter::Flag::Stateless);
    result.text = cp932.decode(bytes);
    result.ok = !cp932.hasError();
    return result;
}

Encoded encode(const QString& text) {
    const QString source = toCp932Forms(text);
    Encoded result;
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    result.bytes = encoder.encode(source);
    if (!encoder.hasError()) return result;

    // Rare: find the characters that failed, one code point at a time.
    result.bytes.clear();
    for (qsizetype i = 0; i < source.size();) {
        const qsizetype length = (source.at(i).isHighSurrogate() && i + 1 < source.size()) ? 2 : 1;
        const QString one = source.mid(i, length);
        QStringEncoder single(kCodecName, QStringConverter::Flag::Stateless);
        const QByteArray bytes = single.encode(one);
        if (single.hasError()) {
            result.bytes.append('?');
            result.unmappable.append(one);
        } else {
            result.bytes.append(bytes);
        }
        i += length;
    }
    return result;
}

} // namespace AnsiCodec
