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

QString chooseFile(Prompts& prompts, Prompts::FileRequest request, const QString& extension,
                   const OutputGuard& guard, const QString& messageTitle) {
    for (;;) {
        const QString chosen = prompts.saveFile(request);
        if (chosen.isEmpty()) return {};
        const QString path = withExtension(chosen, extension);
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
