#pragma once

#include <QByteArray>
#include <QString>

// Text files of the program are CP932 (Shift_JIS as Windows writes it).
namespace AnsiCodec {

struct Decoded {
    QString text;
    bool ok = true; // false: bytes that could not be read; they became U+FFFD
};

// CP932, or UTF-8 when the data starts with a byte order mark. Valid UTF-8 holding non-ASCII
// text is read as UTF-8 too, because files made on other systems often are.
Decoded decode(const QByteArray& bytes);

struct Encoded {
    QByteArray bytes;
    QString unmappable; // the characters CP932 cannot hold, each written as "?"
    bool ok() const { return unmappable.isEmpty(); }
};

// The JIS forms of the wave dash, double vertical line, minus and a few signs are written as
// their CP932 twins, as a Japanese Windows program would show them.
Encoded encode(const QString& text);

} // namespace AnsiCodec
