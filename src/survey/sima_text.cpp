#include "survey/sima_text.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "survey/sima_reader.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace SimaText {

namespace {

constexpr QByteArrayView Bom = "\xEF\xBB\xBF";

// One line as AnsiCodec numbers them: ended by LF, or by CR in a file without any LF.
struct Line {
    qsizetype start = 0;
    qsizetype end = 0; // where its line end is, or the end of the file
};

QList<Line> linesOf(QByteArrayView bytes) {
    const char lineEnd = bytes.contains('\n') ? '\n' : '\r';
    QList<Line> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != lineEnd) continue;
        lines.append({start, i});
        start = i + 1;
    }
    lines.append({start, bytes.size()});
    return lines;
}

// The reader also ends a line at a lone CR, so a line is used when any part of it is.
bool holdsUsedLine(QByteArrayView line, IsUsedLine isUsed) {
    for (qsizetype start = 0;;) {
        const QByteArrayView part = line.sliced(start);
        if (isUsed(QString::fromLatin1(part.first(std::min<qsizetype>(part.size(), 4))))) return true;
        const qsizetype cr = line.indexOf('\r', start);
        if (cr < 0) return false;
        start = cr + 1;
    }
}

QByteArrayView content(QByteArrayView bytes, const Line& line, qsizetype number) {
    QByteArrayView text = bytes.sliced(line.start, line.end - line.start);
    return number == 1 && text.startsWith(Bom) ? text.sliced(Bom.size()) : text;
}

// Line numbers (from 1) of the lines the reader uses.
QList<int> usedLines(QByteArrayView bytes, const QList<Line>& lines, IsUsedLine isUsed) {
    QList<int> used;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (holdsUsedLine(content(bytes, lines.at(i), i + 1), isUsed)) used.append(int(i + 1));
    return used;
}

QList<int> among(const QList<int>& lines, const QList<int>& used) {
    QList<int> both;
    std::set_intersection(lines.begin(), lines.end(), used.begin(), used.end(), std::back_inserter(both));
    return both;
}

// What the decoding found, in the used lines only.
AnsiCodec::Decoded inUsedLines(AnsiCodec::Decoded decoded, const QList<int>& used) {
    decoded.badLines = among(decoded.badLines, used);
    decoded.otherEncodingLines = among(decoded.otherEncodingLines, used);
    decoded.nulLines = among(decoded.nulLines, used);
    return decoded;
}

bool isCleanUtf8(QByteArrayView line) {
    if (line.contains('\0')) return false;
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder.decode(line); // decodes only when made a string
    return !decoder.hasError();
}

// The file with every skipped line that is no clean UTF-8 left empty, its line end kept so
// that lines keep their numbers. Such lines count against UTF-8 when the encoding is chosen,
// so a UTF-8 file with cut lines would otherwise be taken for CP932.
QByteArray withoutSpoiledSkippedLines(QByteArrayView bytes, const QList<Line>& lines,
                                      const QList<int>& used) {
    QByteArray kept;
    kept.reserve(bytes.size());
    if (bytes.startsWith(Bom)) kept.append(Bom);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArrayView text = content(bytes, lines.at(i), i + 1);
        if (std::binary_search(used.begin(), used.end(), int(i + 1)) || isCleanUtf8(text)) kept.append(text);
        if (lines.at(i).end < bytes.size()) kept.append(bytes.at(lines.at(i).end));
    }
    return kept;
}

} // namespace

QString read(const QString& path, IsUsedLine isUsed) {
    const QByteArray bytes = readWholeFile(path, SimaReader::ReadFailed);
    AnsiCodec::Decoded whole = AnsiCodec::decode(bytes);
    if (whole.importable()) return std::move(whole.text);

    const QList<Line> lines = linesOf(bytes);
    const QList<int> used = usedLines(bytes, lines, isUsed);
    if (used.isEmpty()) {
        if (whole.nulLines.isEmpty()) return std::move(whole.text);
        AnsiCodec::Decoded nul;
        nul.nulLines = whole.nulLines;
        throw AppError(AnsiCodec::importRefusal(path, nul));
    }
    if (inUsedLines(whole, used).importable()) return std::move(whole.text);

    // Chosen again without the skipped lines that could only have tipped the choice.
    AnsiCodec::Decoded again =
        inUsedLines(AnsiCodec::decode(withoutSpoiledSkippedLines(bytes, lines, used)), used);
    if (again.importable()) return std::move(again.text);
    throw AppError(AnsiCodec::importRefusal(path, again));
}

} // namespace SimaText
