#include "shell/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

void installJapaneseFontSubstitutes() {
    static const std::pair<QString, QString> substitutes[] = {
        {u"ＭＳ Ｐゴシック"_s, u"IPAPGothic"_s}, {u"ＭＳ ゴシック"_s, u"IPAGothic"_s},
        {u"ＭＳ 明朝"_s, u"IPAMincho"_s},        {u"ＭＳ Ｐ明朝"_s, u"IPAPMincho"_s},
        {u"MS PGothic"_s, u"IPAPGothic"_s},      {u"MS Gothic"_s, u"IPAGothic"_s},
        {u"MS Mincho"_s, u"IPAMincho"_s},        {u"MS PMincho"_s, u"IPAPMincho"_s},
    };
    const QStringList installed = QFontDatabase::families();
    for (const auto& [windowsName, ipaName] : substitutes) {
        if (!installed.contains(windowsName, Qt::CaseInsensitive))
            QFont::insertSubstitution(windowsName, ipaName);
    }
}
