#include "base/case_fold.h"

QString caseFolded(QStringView name) {
    QString folded = name.toString();
    char16_t* c = reinterpret_cast<char16_t*>(folded.data());
    for (char16_t* end = c + folded.size(); c != end; ++c) {
        if (*c >= 0x80) return folded.toCaseFolded();
        if (*c >= u'A' && *c <= u'Z') *c = char16_t(*c + (u'a' - u'A'));
    }
    return folded;
}
