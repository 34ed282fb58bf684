#pragma once

#include <QString>

#include <functional>
#include <optional>

// References to sheets inside formulas and defined names ("Sheet1!$A$1", "'写真 帳'!$1:$3").
namespace SheetReferences {

// The name as a formula writes it: quoted, quotes inside doubled.
QString quoted(const QString& sheet);

// Rewrites every sheet-qualified reference of a formula. `change` gets the sheet's name (quotes
// removed) and the reference after "!", and answers the text that replaces both, or nothing to
// keep them.
using Change = std::function<std::optional<QString>(const QString& sheet, const QString& reference)>;
QString rewrite(const QString& formula, const Change& change);

// A reference that named `from` names `to`; others stay.
QString renamed(const QString& formula, const QString& from, const QString& to);

} // namespace SheetReferences
