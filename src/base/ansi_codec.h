#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Text files of the program are CP932 (Shift_JIS as Windows writes it).
namespace AnsiCodec {

struct Decoded {
    QString text;
    // Lines (from 1) holding bytes that could not be read; each such byte became U+FFFD and
    // every other character of the file is as it was. Lines in another encoding than the rest
    // of the file are among them.
    QList<int> badLines;
    QList<int> otherEncodingLines; // those of badLines that are text in the other encoding
    // Lines holding a NUL byte, which no text file has: the file is something else.
    QList<int> nulLines;
    bool ok() const { return badLines.isEmpty(); }
    bool importable() const { return badLines.isEmpty() && nulLines.isEmpty(); }
};

// The one rule for every text file the program reads: a UTF-8 byte order mark means UTF-8;
// otherwise CP932, and UTF-8 without the mark when the bytes are not valid CP932 but are valid
// UTF-8. Old data-collector exports of ASCII and half-width katakana are often valid UTF-8 as
// well, so CP932 wins whenever it fits, except over lines that are clearly UTF-8: well-formed
// and holding Japanese, which UTF-8 writes in three-byte sequences. Such lines are practically
// never CP932 text, while short UTF-8 Japanese ("近景", "写真") is often valid CP932.
// Clearly UTF-8 lines beside lines that are not UTF-8 make a file of mixed encodings: it is
// read as UTF-8 when the clearly UTF-8 lines are more, else as CP932, and the lines of the
// other encoding are named.
Decoded decode(const QByteArray& bytes);

// "読み取れない文字があります。", the file and its lines, for the reader to show or print.
extern const QString UndecodableHeadline;
QString undecodableReport(const QString& path, const QList<int>& badLines);

// For the readers that build an album or its data from a file, where a wrong character would
// be copied into every row made from it: empty when the file can be taken as it is, else the
// file, the lines and why, saying that nothing was imported.
extern const QString ImportRefusedHeadline;
QString importRefusal(const QString& path, const Decoded& decoded);

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
