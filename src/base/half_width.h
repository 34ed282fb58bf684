#pragma once

#include <QString>

// Text typed with the input method on: full-width digits, letters, signs and the
// ideographic blank become their ASCII forms, so that "１０６", "２０１９／５／１" and
// "Ｒ１．５．１" read as the numbers and dates they show. Everything else is kept.
QString halfWidthAscii(const QString& text);
