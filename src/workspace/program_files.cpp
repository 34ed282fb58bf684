#include "workspace/program_files.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "base/output_guard.h"
#include "base/prompts.h"
#include "base/sheet_file.h"
#include "workspace/settings_file.h"
#include "workspace/workspace.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ProgramFiles {

const QString SettingsFileName = u"tovenla.ini"_s;
const QString BookmarkFileName = u"add.dat"_s;
const QString PhraseFileName = u"MJRT.dat"_s;

namespace {

const QString ErrorTitle = u"エラー"_s;
constexpr int MaxCapacity = 32767; // row numbers are 16-bit wherever the album is used

const QString ProgramFileReadHeadline = u"ファイルを読み込めませんでした。"_s;
const QString ProgramFileWriteHeadline = u"ファイルを保存できませんでした。"_s;
// Far beyond any dictionary or bookmark list a user gathers.
constexpr qint64 ProgramFileMaxBytes = 32 * 1024 * 1024;

// A program file whose content later commands own: read as it is, created when missing.
QByteArray readKeptFile(Workspace& workspace, Prompts& prompts, const QString& name,
                        const QByteArray& initial) {
    const QString path = workspace.programFile(name);
    try {
        if (!QFileInfo::exists(path)) {
            writeFileAtomically(path, initial, ProgramFileWriteHeadline);
            return initial;
        }
        return readWholeFile(path, ProgramFileReadHeadline, ProgramFileMaxBytes);
    } catch (const AppError& error) {
        if (QFileInfo::exists(path)) workspace.UnreadableProgramFiles << name;
        prompts.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
        return initial;
    }
}

void writeProgramFile(Workspace& workspace, Prompts& prompts, const QString& name, const QByteArray& bytes) {
    if (workspace.UnreadableProgramFiles.contains(name)) return;
    try {
        writeFileAtomically(workspace.programFile(name), bytes, ProgramFileWriteHeadline);
    } catch (const AppError& error) {
        prompts.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
    }
}

// A dictionary that exists but cannot be read is reported and kept on disk as it is.
PhraseBook readPhraseBook(Workspace& workspace, Prompts& prompts) {
    const QByteArray bytes = readKeptFile(workspace, prompts, PhraseFileName, PhraseBook().serialize());
    if (workspace.UnreadableProgramFiles.contains(PhraseFileName)) return {};
    try {
        return PhraseBook::fromSheet(SheetFile::parse(bytes));
    } catch (const AppError& error) {
        workspace.UnreadableProgramFiles << PhraseFileName;
        prompts.tell(SheetFile::loadFailure(workspace.programFile(PhraseFileName), error.message()),
                     ErrorTitle, Prompts::Icon::Critical);
        return {};
    }
}

void readSettingsAtStartUp(Workspace& workspace, Prompts& prompts) {
    const QString path = workspace.programFile(SettingsFileName);
    try {
        const SettingsFile::ReadResult result = SettingsFile::ReadSettingsFile(path, true);
        workspace.settings = result.settings;
        // Settings that could not be read would be written back damaged: the file is kept as it is.
        if (!result.unreadableReport.isEmpty()) {
            workspace.UnreadableProgramFiles << SettingsFileName;
            prompts.tell(result.unreadableReport, u"確認"_s, Prompts::Icon::Exclamation);
        }
        if (!result.existed) SettingsFile::WriteSettingsFile(path, workspace.settings);
    } catch (const AppError& error) {
        if (QFileInfo::exists(path)) workspace.UnreadableProgramFiles << SettingsFileName;
        prompts.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
    }
}

void writeSettings(Workspace& workspace, Prompts& prompts) {
    if (workspace.UnreadableProgramFiles.contains(SettingsFileName)) return;
    const QString path = workspace.programFile(SettingsFileName);
    try {
        const QStringList problems = SettingsFile::WriteSettingsFile(path, workspace.settings);
        if (!problems.isEmpty())
            prompts.tell(
                u"次の設定には Shift_JIS で保存できない文字があるため、その文字を「?」に置き換えて保存しました。\r\n"_s +
                    path + u"\r\n"_s + problems.join(u"\r\n"_s),
                u"確認"_s, Prompts::Icon::Exclamation);
    } catch (const AppError& error) {
        prompts.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
    }
}

void writeBookmarks(Workspace& workspace, Prompts& prompts) {
    QStringList unwritable;
    const QByteArray bytes = workspace.Bookmarks.toFile(&unwritable);
    if (!unwritable.isEmpty() && !workspace.UnreadableProgramFiles.contains(BookmarkFileName))
        prompts.tell(
            u"次のフォルダのパスには Shift_JIS で保存できない文字があるため、その文字を「?」に置き換えて保存しました。\r\n"_s +
                workspace.programFile(BookmarkFileName) + u"\r\n"_s + unwritable.join(u"\r\n"_s),
            u"確認"_s, Prompts::Icon::Exclamation);
    writeProgramFile(workspace, prompts, BookmarkFileName, bytes);
}

} // namespace

int capacityFromSettings(const Workspace& workspace) {
    const SettingValue& value = workspace.settings.item(SettingItem::AlbumMaxRows);
    const double rows = value.toNumber();
    if (rows < 1) return AlbumSheet::DesignMaxRows;
    return rows > MaxCapacity ? MaxCapacity : value.toRoundedInt();
}

OutputGuard& keep(OutputGuard& guard, const Workspace& workspace) {
    for (const QString& name : {SettingsFileName, BookmarkFileName, PhraseFileName})
        guard.keep(workspace.programFile(name), OutputGuard::ProgramFile);
    return guard;
}

void readSettings(Workspace& workspace) {
    workspace.settings =
        SettingsFile::ReadSettingsFile(workspace.programFile(SettingsFileName), true).settings;
    workspace.AlbumMaxRows = capacityFromSettings(workspace);
    workspace.SS1.setMaxRows(workspace.AlbumMaxRows);
}

void readBookmarksAndSettings(Workspace& workspace, Prompts& prompts) {
    const QByteArray bookmarks = readKeptFile(workspace, prompts, BookmarkFileName, {});
    // Paths that could not be read would be written back damaged: the file is kept as it is.
    if (const AnsiCodec::Decoded decoded = AnsiCodec::decode(bookmarks); !decoded.ok()) {
        workspace.UnreadableProgramFiles << BookmarkFileName;
        prompts.tell(AnsiCodec::undecodableReport(workspace.programFile(BookmarkFileName), decoded.badLines),
                     u"確認"_s, Prompts::Icon::Exclamation);
    }
    workspace.Bookmarks = FolderBookmarks::fromFile(bookmarks);
    readSettingsAtStartUp(workspace, prompts);
    workspace.AlbumMaxRows = capacityFromSettings(workspace);
    workspace.SS1.setMaxRows(workspace.AlbumMaxRows);
}

void readPhrases(Workspace& workspace, Prompts& prompts) {
    workspace.phrases = readPhraseBook(workspace, prompts);
}

void writeAll(Workspace& workspace, Prompts& prompts) {
    writeBookmarks(workspace, prompts);
    writeSettings(workspace, prompts);
    savePhrases(workspace, prompts);
}

void savePhrases(Workspace& workspace, Prompts& prompts) {
    writeProgramFile(workspace, prompts, PhraseFileName, workspace.phrases.serialize());
}

} // namespace ProgramFiles
