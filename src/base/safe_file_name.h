#pragma once

#include <QString>

// The one door for file and folder names made from user text (information lines, point
// names, list fields): whatever the text holds, the name stays inside the folder it is put in,
// on this system and on Windows.
namespace SafeFileName {

// Longest name in UTF-8 bytes: what common file systems allow for one name.
inline constexpr int MaxBytes = 255;

// The text made into one plain name: separators, characters Windows forbids, control
// characters, half surrogate pairs and trailing dots or blanks become "_", a device name
// ("CON", "com1.jpg") gets "_" in front, a name too long is cut before its extension, and an
// empty text gives "_". changes, when given, says which of these happened.
struct Changes {
    bool replaced = false;  // characters replaced or "_" put in front
    bool shortened = false; // cut to MaxBytes
};
QString make(const QString& text, Changes* changes = nullptr);

// True when the text is already such a name, so it can be used as it stands.
bool isPlain(const QString& text);

} // namespace SafeFileName
