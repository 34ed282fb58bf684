#pragma once

#include <QList>
#include <QString>

#include <optional>

// A font as the settings hold it, "name:size" with the size in points, and the sizes the font
// dialog offers. Sizes keep their fractions (10.5 is the usual size of Japanese documents).
namespace FontChoice {

struct Font {
    QString family;
    double size = 0;
    bool operator==(const Font&) const = default;
};

extern const QString SizeNotOffered; // told when a typed size is not one of the list

// The name before the first ":" and the number after it; nothing without ":". Full-width
// digits count as digits; a size that is no number reads as 0.
std::optional<Font> parse(const QString& text);

// "name:size" with the size in its shortest decimal form: 9, 10.5.
QString format(const Font& font);

// The sizes the dialog lists, smallest first: the usual ones and, when it is a likely size,
// the one it opens with.
QList<double> offeredSizes(double current = 0);

// The size typed into the dialog when it is one of the offered sizes ("10.5", "１０．５").
std::optional<double> offeredSize(const QString& typed, const QList<double>& offered);

// A size in its shortest decimal form.
QString sizeText(double size);

} // namespace FontChoice
