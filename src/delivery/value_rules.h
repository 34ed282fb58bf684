#pragma once

#include <QString>
#include <QStringList>

// Rules for single values of the photo index.
namespace ValueRules {

// Length as the standard counts it (Shift_JIS bytes, a character CP932 cannot hold as two)
// and the characters outside printable ASCII and JIS X 0208, each with what it is
// ("「ﾊ」半角カナ"), judged by the character's CP932 code.
struct Measure {
    int bytes = 0;
    QStringList badCharacters;
};
Measure measure(const QString& value);

// CCYY-MM-DD naming a real day.
bool isIsoDate(const QString& value);

// "P" and seven digits and ".JPG" (".TIF", ".SVG" too when allowed), in capitals.
bool isPhotoFileName(const QString& name, bool imageFormatsOf2023);

// The standards of 2023 and later accept TIFF and SVG photos.
bool allowsImageFormatsOf2023(const QString& standard);

bool isDigits(const QString& value);

const QStringList& mainClasses(); // 写真-大分類
const QStringList& workClasses(); // 写真区分 under 工事

} // namespace ValueRules
