#include "xlsx/sheet_references.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace SheetReferences {

QString quoted(const QString& sheet) {
    QString escaped = sheet;
    escaped.replace(u'\'', u"''"_s);
    return u'\'' + escaped + u'\'';
}

QString rewrite(const QString& formula, const Change& change) {
    // A sheet name is quoted, or a run of characters that cannot end or separate a reference;
    // the reference may be a cell, a range, or whole rows or columns.
    static const QRegularExpression reference(
        uR"(('(?:[^']|'')+'|[^\s!,()'"=+\-*/&^<>:;{}]+)!(\$?[A-Za-z]{0,3}\$?\d*(?::\$?[A-Za-z]{0,3}\$?\d*)?))"_s);
    QString out;
    qsizetype kept = 0;
    auto matches = reference.globalMatch(formula);
    while (matches.hasNext()) {
        const auto m = matches.next();
        QString sheet = m.captured(1);
        if (sheet.startsWith(u'\'')) sheet = sheet.mid(1, sheet.size() - 2).replace(u"''"_s, u"'"_s);
        const std::optional<QString> replacement = change(sheet, m.captured(2));
        if (!replacement) continue;
        out += QStringView(formula).mid(kept, m.capturedStart() - kept);
        out += *replacement;
        kept = m.capturedEnd();
    }
    return out + QStringView(formula).mid(kept);
}

QString renamed(const QString& formula, const QString& from, const QString& to) {
    return rewrite(formula, [&](const QString& sheet, const QString& ref) -> std::optional<QString> {
        if (sheet.compare(from, Qt::CaseInsensitive) != 0) return std::nullopt;
        return quoted(to) + u'!' + ref;
    });
}

} // namespace SheetReferences
