#include "base/prompts.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

Prompts::Answer Prompts::ask(const QString& text, const QString& title, Icon icon,
                             std::optional<Answer> defaultAnswer) {
    return message({text, title, icon, Buttons::YesNo, defaultAnswer});
}

void Prompts::tell(const QString& text, const QString& title, Icon icon) {
    message({text, title, icon, Buttons::Ok, std::nullopt});
}

QStringList qtNameFilters(const QString& vbFilter) {
    const QStringList parts = vbFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i);
        // The description often repeats the pattern in brackets; Qt reads the last brackets as
        // the pattern, so they are dropped and the real pattern is appended.
        const qsizetype bracket = description.lastIndexOf(u'(');
        if (bracket > 0 && description.endsWith(u')')) description = description.left(bracket).trimmed();
        QStringList patterns;
        static const QRegularExpression separators(u"[; ]"_s);
        for (const QString& pattern : parts.at(i + 1).split(separators, Qt::SkipEmptyParts))
            patterns << pattern << pattern.toLower() << pattern.toUpper();
        patterns.removeDuplicates();
        filters << description + u" ("_s + patterns.join(u' ') + u')';
    }
    return filters;
}
