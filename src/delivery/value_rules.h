#pragma once

#include <QString>
#include <QStringList>

// Rules for single values of the photo index.
namespace ValueRules {

// Length as the standard counts it (Shift_JIS bytes, a character CP932 cannot hold as two)
// and the characters outside printable ASCII and JIS X 0208 or among its full-width Latin
// letters and digits, each with what it is ("「ﾊ」半角カナ", "「１」全角英数字"), judged by
// the character's CP932 code.
struct Measure {
    int bytes = 0;
    QStringList badCharacters;
};
Measure measure(const QString& value);

// CCYY-MM-DD naming a real day.
bool isIsoDate(const QString& value);

// The photo file extensions a 適用要領基準 accepts: JPG; TIF from 202003; SVG from 202303.
QStringList photoExtensions(const QString& standard);

// "P", seven digits and one of the extensions, in capitals.
bool isPhotoFileName(const QString& name, const QStringList& extensions);

// "D", seven digits and a three-letter extension, in capitals.
bool isDrawingFileName(const QString& name);

// XML 1.0 holds neither control characters other than tab, line feed and carriage return,
// nor U+FFFE, U+FFFF and halves of surrogate pairs.
bool isXmlCharacter(char32_t c);
// The characters of text XML cannot hold, as "U+0001", each once; empty when there are none.
QStringList xmlIllegal(const QString& text);
QString withoutXmlIllegal(const QString& text);

bool isDigits(const QString& value);

const QStringList& mainClasses(); // 写真-大分類
const QStringList& workClasses(); // 写真区分 under 工事

} // namespace ValueRules
