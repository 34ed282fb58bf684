#include "base/ansi_codec.h"

#include "base/file_io.h"
#include "base/utf8_survey.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <iterator>

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
            pairs_[index(uchar(pair.at(0)), uchar(pair.at(1)))] =
                onePerPair ? decoded.at(i) : decodePair(pair);
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

QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// Two ascending lists of lines: the first without the second, and both in one.
QList<int> without(const QList<int>& lines, const QList<int>& removed) {
    QList<int> rest;
    std::set_difference(lines.begin(), lines.end(), removed.begin(), removed.end(), std::back_inserter(rest));
    return rest;
}

QList<int> merged(const QList<int>& first, const QList<int>& second) {
    QList<int> all;
    std::set_union(first.begin(), first.end(), second.begin(), second.end(), std::back_inserter(all));
    return all;
}

QString lineList(const QList<int>& lines) {
    constexpr qsizetype Shown = 20;
    QStringList numbers;
    for (qsizetype i = 0; i < std::min(lines.size(), Shown); ++i)
        numbers << QString::number(lines.at(i));
    QString text = u"行 "_s + numbers.join(u", "_s);
    if (lines.size() > Shown) text += u" ほか "_s + QString::number(lines.size() - Shown) + u" 行"_s;
    return text;
}

} // namespace

namespace AnsiCodec {

const QString UndecodableHeadline = u"読み取れない文字があります。"_s;
const QString ImportRefusedHeadline = u"テキストとして読めない行があるため、何も取り込みませんでした。"_s;

namespace {

const QString NulReason = u"NUL 文字（0x00）があります（テキストファイルではないようです）: "_s;
const QString UndecodableReason = u"読み取れない文字があります: "_s;
const QString MixedReason = u"ほかの行と文字コードが違います（UTF-8 と Shift_JIS の混在）: "_s;

} // namespace

Decoded decode(const QByteArray& bytes) {
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArrayView content = marked ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    Utf8Survey utf8 = surveyUtf8(content);
    Decoded result;
    result.nulLines = std::move(utf8.nulLines);
    const qsizetype japanese = utf8.japaneseLines.size();
    const qsizetype broken = utf8.badLines.size();
    if (marked || (japanese > 0 && japanese > broken)) {
        // Of the lines that are no UTF-8, those CP932 reads were pasted from CP932 text.
        if (!marked && broken > 0)
            result.otherEncodingLines = without(utf8.badLines, scanCp932(bytes).badLines);
        result.text = decodeUtf8(content);
        result.badLines = std::move(utf8.badLines);
        return result;
    }
    Cp932Scan cp932 = scanCp932(bytes);
    if (japanese > 0 && broken > 0) {
        result.otherEncodingLines = utf8.japaneseLines;
        result.badLines = merged(cp932.badLines, utf8.japaneseLines);
    } else if (!cp932.badLines.isEmpty() && utf8.valid) {
        result.text = decodeUtf8(content);
        return result;
    } else {
        result.badLines = std::move(cp932.badLines);
    }
    result.text = std::move(cp932.text);
    return result;
}

QString undecodableReport(const QString& path, const QList<int>& badLines) {
    QStringList numbers;
    for (int line : badLines)
        numbers << QString::number(line);
    return fileFailure(UndecodableHeadline, path,
                       u"行 "_s + numbers.join(u", "_s) + u"（ほかの行はそのまま読み込みました。）"_s);
}

QString importRefusal(const QString& path, const Decoded& decoded) {
    if (decoded.importable()) return {};
    QStringList reasons;
    if (!decoded.nulLines.isEmpty()) reasons << NulReason + lineList(decoded.nulLines);
    if (const QList<int> unreadable = without(decoded.badLines, decoded.otherEncodingLines);
        !unreadable.isEmpty())
        reasons << UndecodableReason + lineList(unreadable);
    if (!decoded.otherEncodingLines.isEmpty()) reasons << MixedReason + lineList(decoded.otherEncodingLines);
    return fileFailure(ImportRefusedHeadline, path, reasons.join(u'\n'));
}

Encoded encode(const QString& text) {
    const QString source = toCp932Forms(text);
    Encoded result;
    // The codec swaps the control characters 0x1A, 0x1C and 0x7F as IBM code pages do;
    // Windows keeps them as they are, and so must we.
    const bool swappedControls =
        source.contains(u'\x1A') || source.contains(u'\x1C') || source.contains(u'\x7F');
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
