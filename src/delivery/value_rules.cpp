#include "delivery/value_rules.h"

#include "base/ansi_codec.h"

#include <QDate>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace ValueRules {

namespace {

bool isPrintableAscii(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() <= 0x7E;
}

// What is wrong with a character whose CP932 code is `bytes`; empty when it is JIS X 0208 or
// printable ASCII.
QString kindOfCode(const QByteArray& bytes) {
    const uchar lead = uchar(bytes.at(0));
    if (bytes.size() == 1) {
        if (lead >= 0xA1 && lead <= 0xDF) return u"半角カナ"_s;
        return lead >= 0x20 && lead <= 0x7E ? QString() : u"制御文字"_s;
    }
    const uchar trail = uchar(bytes.at(1));
    if (lead == 0x82 && trail >= 0x4F && trail <= 0x9A) return u"全角英数字"_s;
    if ((lead >= 0x81 && lead <= 0x84) || (lead >= 0x88 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA))
        return {};
    if (lead >= 0xF0 && lead <= 0xF9) return u"外字"_s;
    return u"機種依存文字"_s;
}

QString codePoint(char32_t c) {
    return u"U+"_s + QString::number(uint(c), 16).toUpper().rightJustified(4, u'0');
}

// A control character would not show between quotes.
QString described(const QString& character, const QString& kind) {
    const QChar first = character.at(0);
    if (first.unicode() < 0x20 || first.unicode() == 0x7F)
        return codePoint(first.unicode()) + u" の"_s + kind;
    return u"「"_s + character + u"」"_s + kind;
}

int yearMonthOf(const QString& standard) {
    static const QRegularExpression yearMonth(u"(\\d{6})"_s);
    const QRegularExpressionMatch match = yearMonth.match(standard);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// The code points of text, a lone surrogate as itself.
template <typename Visit> void forEachCodePoint(const QString& text, Visit visit) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            visit(QChar::surrogateToUcs4(c, text.at(i + 1)), 2);
            ++i;
        } else {
            visit(char32_t(c.unicode()), 1);
        }
    }
}

} // namespace

Measure measure(const QString& value) {
    Measure result;
    bool plain = true;
    for (QChar c : value)
        plain = plain && isPrintableAscii(c);
    if (plain) {
        result.bytes = int(value.size());
        return result;
    }
    const auto add = [&](const QString& entry) {
        if (!result.badCharacters.contains(entry)) result.badCharacters << entry;
    };
    // One conversion for the whole value; a character at a time only when some fail.
    const AnsiCodec::Encoded whole = AnsiCodec::encode(value);
    // Each character CP932 cannot hold became one "?": count it as a full-width one.
    result.bytes = int(whole.bytes.size() + whole.unmappable.size());
    if (whole.ok()) {
        qsizetype at = 0;
        for (QChar c : value) {
            const uchar lead = uchar(whole.bytes.at(at));
            const qsizetype width = lead >= 0x81 && !(lead >= 0xA1 && lead <= 0xDF) ? 2 : 1;
            const QString kind = kindOfCode(whole.bytes.mid(at, width));
            if (!kind.isEmpty()) add(described(c, kind));
            at += width;
        }
        return result;
    }
    for (qsizetype i = 0; i < value.size(); ++i) {
        const qsizetype width = value.at(i).isHighSurrogate() && i + 1 < value.size() ? 2 : 1;
        const QString character = value.mid(i, width);
        i += width - 1;
        const AnsiCodec::Encoded one = AnsiCodec::encode(character);
        const QString kind = one.ok() ? kindOfCode(one.bytes) : u"Shift_JIS にない文字"_s;
        if (!kind.isEmpty()) add(described(character, kind));
    }
    return result;
}

bool isIsoDate(const QString& value) {
    static const QRegularExpression form(u"^\\d{4}-\\d{2}-\\d{2}$"_s);
    return form.match(value).hasMatch() && QDate::fromString(value, u"yyyy-MM-dd"_s).isValid();
}

QStringList photoExtensions(const QString& standard) {
    const int yearMonth = yearMonthOf(standard);
    QStringList extensions = {u"JPG"_s};
    if (yearMonth >= 202003) extensions << u"TIF"_s;
    if (yearMonth >= 202303) extensions << u"SVG"_s;
    return extensions;
}

bool isPhotoFileName(const QString& name, const QStringList& extensions) {
    static const QRegularExpression form(u"^P\\d{7}\\.([A-Z]{3})$"_s);
    const QRegularExpressionMatch match = form.match(name);
    return match.hasMatch() && extensions.contains(match.captured(1));
}

bool isDrawingFileName(const QString& name) {
    static const QRegularExpression form(u"^D\\d{7}\\.[A-Z0-9]{3}$"_s);
    return form.match(name).hasMatch();
}

bool isXmlCharacter(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    return c != 0xFFFE && c != 0xFFFF && c <= 0x10FFFF;
}

QStringList xmlIllegal(const QString& text) {
    QStringList found;
    forEachCodePoint(text, [&](char32_t c, int) {
        if (!isXmlCharacter(c) && !found.contains(codePoint(c))) found << codePoint(c);
    });
    return found;
}

QString withoutXmlIllegal(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    qsizetype at = 0;
    forEachCodePoint(text, [&](char32_t c, int width) {
        if (isXmlCharacter(c)) kept += text.mid(at, width);
        at += width;
    });
    return kept;
}

bool isDigits(const QString& value) {
    if (value.isEmpty()) return false;
    for (QChar c : value)
        if (c < u'0' || c > u'9') return false;
    return true;
}

const QStringList& mainClasses() {
    static const QStringList list = {u"工事"_s, u"測量"_s, u"調査"_s,  u"地質"_s,
                                     u"広報"_s, u"設計"_s, u"その他"_s};
    return list;
}

const QStringList& workClasses() {
    static const QStringList list = {u"着手前及び完成写真"_s, u"施工状況写真"_s, u"安全管理写真"_s,
                                     u"使用材料写真"_s,       u"品質管理写真"_s, u"出来形管理写真"_s,
                                     u"災害写真"_s,           u"事故写真"_s,     u"その他"_s};
    return list;
}

} // namespace ValueRules
