#include "base/safe_file_name.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace SafeFileName {

namespace {

constexpr char16_t Replacement = u'_';
// An extension longer than this is taken as part of the name when a name must be cut.
constexpr qsizetype MaxKeptExtension = 16;

bool isForbidden(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"<>:\"/\\|?*").contains(c);
}

bool isDeviceName(const QString& name) {
    static const QStringList devices = {u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s, u"CONIN$"_s, u"CONOUT$"_s};
    const QString stem = name.section(u'.', 0, 0).trimmed().toUpper();
    if (devices.contains(stem)) return true;
    return stem.size() == 4 && (stem.startsWith(u"COM"_s) || stem.startsWith(u"LPT"_s)) &&
           stem.at(3) >= u'1' && stem.at(3) <= u'9';
}

qsizetype utf8Size(QStringView text) {
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : QChar::isSurrogate(c) ? 2 : 3;
    }
    return bytes;
}

// Cuts the stem, never inside a surrogate pair, until the name fits MaxBytes.
QString cutToFit(const QString& name) {
    if (utf8Size(name) <= MaxBytes) return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot > 0 && name.size() - dot <= MaxKeptExtension ? name.mid(dot) : QString();
    QStringView stem = QStringView(name).first(name.size() - extension.size());
    qsizetype budget = MaxBytes - utf8Size(extension);
    qsizetype keep = 0;
    while (keep < stem.size()) {
        const qsizetype step = stem.at(keep).isHighSurrogate() && keep + 1 < stem.size() ? 2 : 1;
        const qsizetype cost = utf8Size(stem.sliced(keep, step));
        if (cost > budget) break;
        budget -= cost;
        keep += step;
    }
    return stem.first(keep).toString() + extension;
}

} // namespace

QString make(const QString& text, Changes* changes) {
    QString safe = text;
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        if (c.isHighSurrogate() && i + 1 < safe.size() && safe.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate() || isForbidden(c)) // a half pair is no character any file system keeps
            safe[i] = Replacement;
    }
    const qsizetype uncut = safe.size();
    safe = cutToFit(safe);
    const bool shortened = safe.size() < uncut;
    // Windows drops trailing dots and blanks, which would turn ".." into the parent folder and
    // make "a." and "a" one file; replacing keeps the names apart.
    for (qsizetype i = safe.size() - 1; i >= 0 && (safe.at(i) == u'.' || safe.at(i) == u' '); --i)
        safe[i] = Replacement;
    if (isDeviceName(safe)) safe.prepend(Replacement);
    if (safe.isEmpty()) safe = QString(Replacement);
    if (changes) {
        changes->shortened = shortened;
        // What is left of the text after the cut, compared with what it became.
        changes->replaced = safe != (shortened ? cutToFit(text) : text);
    }
    return safe;
}

bool isPlain(const QString& text) {
    return make(text) == text;
}

} // namespace SafeFileName
