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

// Every double-byte character of CP932, looked up by (lead, trail). Made once from one
// decoder call over all the pairs of valid form, so that reading a file is a table look-up per
// character and an unassigned pair shows as U+FFFD.
class Cp932Table {
public:
    Cp932Table() : pairs_(LeadCount * TrailCount, QChar(Replacement)) {
        QByteArray all;
        all.reserve(pairs_.size() * 2);
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isLeadByte(uchar(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!isTrailByte(uchar(trail))) continue;
                all.append(char(lead)).append(char(trail));
            }
        }
        QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
        const QString decoded = decoder.decode(all);
        const bool onePerPair = decoded.size() * 2 == all.size();
        for (qsizetype i = 0; i < all.size() / 2; ++i) {
            const QByteArrayView pair = QByteArrayView(all).sliced(2 * i, 2);
            pairs_[index(uchar(pair.at(0)), uchar(pair.at(1)))] = onePerPair ? decoded.at(i) : decodePair(pair);
        }
    }

    QChar pair(uchar lead, uchar trail) const { return pairs_.at(index(lead, trail)); }

private:
    static constexpr int LeadCount = 0xFC - 0x81 + 1;
    static constexpr int TrailCount = 0xFC - 0x40 + 1;
    static int index(uchar lead, uchar trail) { return (lead - 0x81) * TrailCount + (trail - 0x40); }

    // Should the codec ever answer a pair with other than one character, each pair is asked
    // on its own.
    static QChar decodePair(QByteArrayView pair) {
        QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
        const QString character = decoder.decode(pair);
        return character.size() == 1 && !decoder.hasError() ? character.at(0) : QChar(Replacement);
    }

    QList<QChar> pairs_;
};

const Cp932Table& cp932Table() {
    static const Cp932Table table;
    return table;
}

struct Cp932Scan {
    QString text;
    QList<int> badLines;
};

// A byte that cannot be read spoils only itself, and the line it is on can be named.
Cp932Scan scanCp932(const QByteArray& bytes) {
    const Cp932Table& table = cp932Table();
    Cp932Scan scan;
    scan.text.resize(bytes.size());
    QChar* out = scan.text.data();
    const char lineEnd = bytes.contains('\n') ? '\n' : '\r';
    int line = 1;
    const auto bad = [&] {
        *out++ = QChar(Replacement);
        if (scan.badLines.isEmpty() || scan.badLines.constLast() != line) scan.badLines << line;
    };
    const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const uchar b = data[i];
        if (b < 0x80) {
            if (b == uchar(lineEnd)) ++line;
            *out++ = QChar(char16_t(b));
            ++i;
        } else if (b >= 0xA1 && b <= 0xDF) {
            *out++ = QChar(char16_t(0xFF61 + (b - 0xA1))); // half-width katakana
            ++i;
        } else if (isLeadByte(b) && i + 1 < size && isTrailByte(data[i + 1])) {
            const QChar character = table.pair(b, data[i + 1]);
            if (character == QChar(Replacement))
                bad();
            else
                *out++ = character;
            i += 2;
        } else {
            bad();
            ++i;
        }
    }
    scan.text.truncate(out - scan.text.constData());
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
    // The codec swaps the control characters 0x1A, 0x1C and 0x7F as IBM code pages do;
    // Windows keeps them as they are, and so must we.
    const bool swappedControls = source.contains(u'\x1A') || source.contains(u'\x1C') || source.contains(u'\x7F');
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    result.bytes = encoder.encode(source);
    if (!encoder.hasError() && !swappedControls && !source.contains(QChar(Replacement))) return result;

    // Rare: one code point at a time, to find the characters that failed.
    result.bytes.clear();
    for (qsizetype i = 0; i < source.size();) {
        const qsizetype length = (source.at(i).isHighSurrogate() && i + 1 < source.size()) ? 2 : 1;
        const QString one = source.mid(i, length);
        i += length;
        if (one.at(0).unicode() < 0x80) {
            result.bytes.append(char(one.at(0).unicode()));
            continue;
        }
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
