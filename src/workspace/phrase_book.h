#pragma once

#include "base/sheet_file.h"

#include <QString>
#include <QStringList>

#include <optional>

// The numbered phrases 1..500 that text fields recall with "*" and the number.
class PhraseBook {
public:
    static constexpr int Count = 500;

    PhraseBook();

    // "" for an empty phrase or a number outside 1..Count.
    QString phrase(int n) const;
    void setPhrase(int n, const QString& text);

    // Kept in the sheet file format, one column; rows beyond Count are ignored.
    SheetContent toSheet() const;
    static PhraseBook fromSheet(const SheetContent& sheet);
    QByteArray serialize() const { return SheetFile::serialize(toSheet()); }

    // For a text "*n" with n from 1 to Count: phrase n. Nothing for any other text, which
    // each caller handles its own way.
    std::optional<QString> recall(const QString& text) const;
    // The number after the "*", read leniently: 0 when the rest does not begin with one.
    static double recallNumber(const QString& text);

    bool operator==(const PhraseBook&) const = default;

private:
    QStringList phrases_;
};
