#include "settings/settings_transfer.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/output_choice.h"
#include "base/output_guard.h"
#include "base/prompts.h"
#include "base/sheet_file.h"
#include "workspace/program_files.h"
#include "workspace/settings_file.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace SettingsTransfer {

const QString LoadedMessage =
    u"設定ファイル呼出完了。 有効にする為には、本プログラムを一旦終了させて下さい。 "_s;
const QString LoadedTitle = u"Restart"_s;
const QString DialogFilter = u"ini ﾌｧｲﾙ (*.ini)|*.ini"_s;

QString folderOf(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.left(slash + 1);
}

void saveToFolderOf(const Workspace& workspace, const QString& chosenPath) {
    const QString folder = folderOf(chosenPath);
    const QString headline = u"設定を保存できません。"_s;
    const QByteArray settings =
        readWholeFile(workspace.programFile(ProgramFiles::SettingsFileName), headline);
    const QByteArray phrases = readWholeFile(workspace.programFile(ProgramFiles::PhraseFileName), headline);
    writeFileAtomically(folder + ProgramFiles::SettingsFileName, settings, headline);
    writeFileAtomically(folder + ProgramFiles::PhraseFileName, phrases, headline);
}

bool mayReplaceTargets(const Workspace& workspace, Prompts& prompts, const QString& chosenPath) {
    const QString folder = folderOf(chosenPath);
    const OutputGuard guard = workspace.outputGuard();
    QStringList existing;
    for (const QString& name : {ProgramFiles::SettingsFileName, ProgramFiles::PhraseFileName}) {
        const QString target = folder + name;
        if (const QString refused = guard.refusal(target); !refused.isEmpty()) {
            prompts.tell(refused, u"確認"_s, Prompts::Icon::Exclamation);
            return false;
        }
        if (QFileInfo::exists(target)) existing << QDir::toNativeSeparators(target);
    }
    return existing.isEmpty() ||
           prompts.ask(existing.join(u"\r\n"_s) + OutputChoice::ReplaceQuestion, u"確認"_s,
                       Prompts::Icon::Exclamation, Prompts::Answer::No) == Prompts::Answer::Yes;
}

void loadFrom(Workspace& workspace, const QString& chosenFile) {
    const QString headline = u"設定を呼び出せません。"_s;
    // Both files are read before either is replaced, so a missing dictionary leaves the
    // program's own files and the settings in memory as they were.
    const QByteArray settingsBytes = readWholeFile(chosenFile, headline);
    const QString phrasePath = folderOf(chosenFile) + ProgramFiles::PhraseFileName;
    const QByteArray phraseBytes = readWholeFile(phrasePath, headline);
    PhraseBook phrases;
    try {
        phrases = PhraseBook::fromSheet(SheetFile::parse(phraseBytes));
    } catch (const AppError& error) {
        throw AppError(fileFailure(headline, phrasePath, error.message()));
    }
    writeFileAtomically(workspace.programFile(ProgramFiles::SettingsFileName), settingsBytes, headline);
    writeFileAtomically(workspace.programFile(ProgramFiles::PhraseFileName), phraseBytes, headline);
    workspace.settings = SettingsFile::parse(settingsBytes);
    workspace.phrases = phrases;
    workspace.UnreadableProgramFiles.removeAll(ProgramFiles::SettingsFileName);
    workspace.UnreadableProgramFiles.removeAll(ProgramFiles::PhraseFileName);
}

} // namespace SettingsTransfer
