#pragma once

#include <QString>

#include <string>

// Cell addresses and cell text as a worksheet stores them. Rows and columns count from 1.
namespace CellRef {

inline constexpr int MaxRow = 1048576;
inline constexpr int MaxColumn = 16384;

std::string columnLetters(int column);
std::string address(int row, int column);
// "AB12" → row 12, column 28; "$A$1" accepted. False when it is no address.
bool parse(const std::string& text, int& row, int& column);

struct Range {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
};
// "A1:C3" or a single address.
bool parseRange(const std::string& text, Range& range);
std::string rangeText(const Range& range);

// Text that every reader takes back as it was: characters XML cannot carry (control
// characters, lone surrogates) and a literal "_xHHHH_" are written in the _xHHHH_ form.
std::string encodeText(const QString& text);
QString decodeText(const char* utf8);

} // namespace CellRef
