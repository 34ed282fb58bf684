#include "app/ansi_codec.h"

#include "app/file_io.h"

#include <QStringDecoder>
#include <QStringEncoder>

using namespace Qt::StringLiterals;

namespace {

constexpr const char* kCodecName = "windows-31j";
constexpr char16_t Replacement = u'\uFFFD';

QString toCp932Forms(QString text) {
    static const std::pair<char16_t, char16_t> twins[] = {
        {u'\u301C', u'\uFF5E'}, // wave dash
        {u'\u2016', u'\u2225'}, // double vertical line
        {u'\u2212', u'\uFF0D'}, // minus sign
        {u'\u00A2', u'\uFFE0'}, // cent
        {u'\u00A3', u'\uFFE1'}, // pound
        {u'\u00AC', u'\uFFE2'}, // not sign
        {u'\u2014', u'\u2015'}, // em dash: Windows writes the horizontal bar 0x815C
        {u'\u00A5', u'\\'},     // yen sign: 0x5C, which Japanese fonts show as ¥
        {u'\u203E', u'~'},      // overline: 0x7E
    };
    for (auto [unicode, cp932] : twins)
        text.replace(QChar(unicode), QChar(cp932));
    return text;
}

bool isLeadByte(uchar b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrailByte(uchar b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

bool isSingleByte(uchar b) {
    return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
}

struct Cp932Scan {
    QString text;
    QList<int> badLines;
};

// Reads CP932 one character at a time, so that a byte that cannot be read spoils only itself
// and the line it is on can be named.
Cp932Scan scanCp932(const QByteArray& bytes) {
    Cp932Scan scan;
    const char lineEnd = bytes.contains('\n') ? '\n' : '\r';
    int line = 1;
    const auto bad = [&] {
        scan.text.append(QChar(Replacement));
        if (scan.badLines.isEmpty() || scan.badLines.constLast() != line) scan.badLines << line;
    };
    qsizetype runStart = 0; // plain single bytes are decoded in runs, which is most of a file
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    const auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            scan.text.append(decoder.decode(QByteArrayView(bytes).sliced(runStart, end - runStart)));
    };
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes.at(i));
        if (isSingleByte(b)) {
            if (b == uchar(lineEnd)) ++line;
            ++i;
            continue;
        }
        flushRun(i);
        if (isLeadByte(b) && i + 1 < bytes.size() && isTrailByte(uchar(bytes.at(i + 1)))) {
            QStringDecoder pair(kCodecName, QStringConverter::Flag::Stateless);
            const QString character = pair.decode(QByteArrayView(bytes).sliced(i, 2));
            if (pair.hasError() || character.isEmpty())
                bad();
            else
                scan.text.append(character);
            i += 2;
        } else {
            bad();
            ++i;
        }
        runStart = i;
    }
    flushRun(bytes.size());
    return scan;
}

bool decodeUtf8(QByteArrayView bytes, QString& out) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    out = decoder.decode(bytes);
    return !decoder.hasError();
}

// Lines of UTF-8 text holding U+FFFD where the decoder met a broken sequence.
QList<int> replacementLines(const QString& text) {
    QList<int> lines;
    int line = 1;
    const QChar lineEnd = text.contains(u'\n') ? u'\n' : u'\r';
    for (QChar c : text) {
        if (c == lineEnd) ++line;
        if (c == QChar(Replacement) && (lines.isEmpty() || lines.constLast() != line)) lines << line;
    }
    return lines;
}

} // namespace

namespace AnsiCodec {

const QString UndecodableHeadline = u"読み取れない文字があります。"_s;

Decoded decode(const QByteArray& bytes) {
    Decoded result;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        if (!decodeUtf8(QByteArrayView(bytes).sliced(3), result.text))
            result.badLines = replacementLines(result.text);
        return result;
    }
    // Most files are valid CP932 throughout: one decoder over the whole file reads them. Only a
    // file with a fault is read again character by character, to find its lines.
    {
        QStringDecoder whole(kCodecName, QStringConverter::Flag::Stateless);
        result.text = whole.decode(bytes);
        if (!whole.hasError()) return result;
    }
    Cp932Scan cp932 = scanCp932(bytes);
    if (!cp932.badLines.isEmpty()) {
        QString utf8;
        if (decodeUtf8(bytes, utf8)) {
            result.text = utf8;
            return result;
        }
    }
    result.text = std::move(cp932.text);
    result.badLines = std::move(cp932.badLines);
    return result;
}

QString undecodableReport(const QString& path, const QList<int>& badLines) {
    QStringList numbers;
    for (int line : badLines)
        numbers << QString::number(line);
    return fileFailure(UndecodableHeadline, path,
                       u"行 "_s + numbers.join(u", "_s) + u"（ほかの行はそのまま読み込みました。）"_s);
}

Encoded encode(const QString& text) {
    const QString source = toCp932Forms(text);
    Encoded result;
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    result.bytes = encoder.encode(source);
    if (!encoder.hasError() && !source.contains(QChar(Replacement))) return result;

    // Rare: find the characters that failed, one code point at a time.
    result.bytes.clear();
    for (qsizetype i = 0; i < source.size();) {
        const qsizetype length = (source.at(i).isHighSurrogate() && i + 1 < source.size()) ? 2 : 1;
        const QString one = source.mid(i, length);
        i += length;
        if (one.at(0) == QChar(Replacement)) {
            result.bytes.append('?');
            continue;
        }
        QStringEncoder single(kCodecName, QStringConverter::Flag::Stateless);
        const QByteArray bytes = single.encode(one);
        if (single.hasError()) {
            result.bytes.append('?');
            result.unmappable.append(one);
        } else {
            result.bytes.append(bytes);
        }
    }
    return result;
}

} // namespace AnsiCodec
