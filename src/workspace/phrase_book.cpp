#include "workspace/phrase_book.h"

#include "workspace/settings.h"

#include <cmath>

PhraseBook::PhraseBook() {
    phrases_.resize(Count);
}

QString PhraseBook::phrase(int n) const {
    return (n >= 1 && n <= Count) ? phrases_.at(n - 1) : QString();
}

void PhraseBook::setPhrase(int n, const QString& text) {
    if (n >= 1 && n <= Count) phrases_[n - 1] = text;
}

SheetContent PhraseBook::toSheet() const {
    SheetContent sheet;
    sheet.columns = 1;
    for (int n = 1; n <= Count; ++n)
        if (!phrases_.at(n - 1).isEmpty()) sheet.rows[n] = QStringList{phrases_.at(n - 1)};
    return sheet;
}

PhraseBook PhraseBook::fromSheet(const SheetContent& sheet) {
    PhraseBook book;
    for (const auto& [row, cells] : sheet.rows)
        if (!cells.isEmpty()) book.setPhrase(row, cells.constFirst());
    return book;
}

double PhraseBook::recallNumber(const QString& text) {
    return SettingValue::string(text.mid(1)).toNumber();
}

std::optional<QString> PhraseBook::recall(const QString& text) const {
    if (!text.startsWith(u'*')) return std::nullopt;
    const double n = recallNumber(text);
    if (!(n >= 1 && n <= Count)) return std::nullopt;
    // A fraction picks the nearest phrase, as a whole row number is needed.
    return phrase(int(std::lround(n)));
}
