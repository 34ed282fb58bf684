#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Text files of the program are CP932 (Shift_JIS as Windows writes it).
namespace AnsiCodec {

struct Decoded {
    QString text;
    // Lines (from 1) holding bytes that could not be read; each such byte became U+FFFD and
    // every other character of the file is as it was.
    QList<int> badLines;
    bool ok() const { return badLines.isEmpty(); }
};

// The one rule for every text file the program reads: a UTF-8 byte order mark means UTF-8;
// otherwise CP932; UTF-8 without the mark only when the bytes are not valid CP932 but are
// valid UTF-8. Old data-collector exports of ASCII and half-width katakana are often valid
// UTF-8 as well, so CP932 must win whenever it fits.
Decoded decode(const QByteArray& bytes);

// "読み取れない文字があります。", the file and its lines, for the reader to show or print.
extern const QString UndecodableHeadline;
QString undecodableReport(const QString& path, const QList<int>& badLines);

struct Encoded {
    QByteArray bytes;
    QString unmappable; // the characters CP932 cannot hold, each written as "?"
    bool ok() const { return unmappable.isEmpty(); }
};

// The JIS and Unicode forms Windows maps onto CP932 (wave dash, em dash, yen sign, ...) are
// written as Windows writes them. U+FFFD, which stands for a byte already reported as
// unreadable when its file was read, is written as "?" without being reported again.
Encoded encode(const QString& text);

} // namespace AnsiCodec
