#pragma once

#include <QString>
#include <QStringView>

// The text of a SIMA file, where only the lines the reader uses may make the file unreadable.
// Writers put free text in the records that are skipped (G00, Z00, ...), and some cut their
// lines at a fixed byte width through a double-byte character: that spoils nothing read.
namespace SimaText {

// Whether the reader uses a line, judged from its first four characters.
using IsUsedLine = bool (*)(QStringView line);

// CP932 or UTF-8 as AnsiCodec reads any file. Throws AppError naming the file when it cannot be
// read, or naming the used lines that hold a NUL, an unreadable byte or the other encoding; a
// file of which no line is used is refused only when it holds NULs (UTF-16, a binary).
QString read(const QString& path, IsUsedLine isUsed);

} // namespace SimaText
