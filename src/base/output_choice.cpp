#include "base/output_choice.h"

#include "base/output_guard.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace OutputChoice {

const QString ReplaceQuestion = u"は既に存在します。\r\n上書きしますか？"_s;

QString withExtension(const QString& path, const QString& extension) {
    return QFileInfo(path).suffix().isEmpty() ? path + extension : path;
}

QString withFittingExtension(const QString& path, const QString& extension, const QString& filter) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty()) return path + extension;
    QStringList patterns{u'*' + extension};
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 1; i < parts.size(); i += 2)
        patterns << parts.at(i).split(u';', Qt::SkipEmptyParts);
    for (const QString& pattern : patterns) {
        const QString offered = pattern.trimmed();
        if (offered == u"*.*"_s || offered == u"*"_s) return path;
        if (offered.compare(u"*."_s + suffix, Qt::CaseInsensitive) == 0) return path;
    }
    return path + extension;
}

QString chooseFile(Prompts& prompts, Prompts::FileRequest request, const QString& extension,
                   const OutputGuard& guard, const QString& messageTitle) {
    for (;;) {
        const QString chosen = prompts.saveFile(request);
        if (chosen.isEmpty()) return {};
        const QString path = withFittingExtension(chosen, extension, request.filter);
        const QFileInfo info(path);
        request.folder = info.absolutePath();
        request.name = info.fileName();
        if (const QString refused = guard.refusal(path); !refused.isEmpty()) {
            prompts.tell(refused, messageTitle, Prompts::Icon::Exclamation);
            continue;
        }
        if (info.exists() &&
            prompts.ask(QDir::toNativeSeparators(path) + ReplaceQuestion, messageTitle,
                        Prompts::Icon::Exclamation, Prompts::Answer::No) != Prompts::Answer::Yes)
            continue;
        return path;
    }
}

} // namespace OutputChoice
