#include "xlsx/cell_ref.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace CellRef {

std::string columnLetters(int column) {
    std::string letters;
    for (int n = column; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters;
}

std::string address(int row, int column) {
    return columnLetters(column) + std::to_string(row);
}

bool parse(const std::string& text, int& row, int& column) {
    size_t i = 0;
    if (i < text.size() && text[i] == '$') ++i;
    long long col = 0;
    const size_t lettersStart = i;
    while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])) && i - lettersStart < 4)
        col = col * 26 + (std::toupper(static_cast<unsigned char>(text[i++])) - 'A' + 1);
    if (i == lettersStart) return false;
    if (i < text.size() && text[i] == '$') ++i;
    const size_t digitsStart = i;
    long long r = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - digitsStart < 8)
        r = r * 10 + (text[i++] - '0');
    if (i == digitsStart || i != text.size() || r < 1 || r > MaxRow || col > MaxColumn) return false;
    row = int(r);
    column = int(col);
    return true;
}

bool parseRange(const std::string& text, Range& range) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        if (!parse(text, range.firstRow, range.firstColumn)) return false;
        range.lastRow = range.firstRow;
        range.lastColumn = range.firstColumn;
        return true;
    }
    return parse(text.substr(0, colon), range.firstRow, range.firstColumn) &&
           parse(text.substr(colon + 1), range.lastRow, range.lastColumn);
}

std::string rangeText(const Range& range) {
    const std::string first = address(range.firstRow, range.firstColumn);
    if (range.firstRow == range.lastRow && range.firstColumn == range.lastColumn) return first;
    return first + ':' + address(range.lastRow, range.lastColumn);
}

std::string encodeText(const QString& text) {
    static const QRegularExpression escapeLike(u"_x[0-9A-Fa-f]{4}_"_s);
    QString out;
    out.reserve(text.size());
    const auto escaped = [](uint code) -> QString {
        return u"_x"_s + QString::number(code, 16).toUpper().rightJustified(4, u'0') + u'_';
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            out += QChar(0xFFFD);
        } else if ((u < 0x20 && u != 0x09 && u != 0x0A) || u == 0x0D) {
            out += escaped(u);
        } else if (u == u'_' && escapeLike
                                    .match(text, i, QRegularExpression::NormalMatch,
                                           QRegularExpression::AnchorAtOffsetMatchOption)
                                    .hasMatch()) {
            out += escaped(u);
        } else {
            out += c;
        }
    }
    return out.toStdString();
}

QString decodeText(const char* utf8) {
    static const QRegularExpression escape(u"_x([0-9A-Fa-f]{4})_"_s);
    const QString text = QString::fromUtf8(utf8);
    if (!text.contains(u"_x"_s)) return text;
    QString out;
    qsizetype last = 0;
    auto matches = escape.globalMatch(text);
    while (matches.hasNext()) {
        const auto m = matches.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

} // namespace CellRef
