#include "shell/session.h"

#include "album/album_commands.h"
#include "base/atomic_file.h"
#include "base/prompts.h"
#include "delivery/delivery_export.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

using namespace Qt::StringLiterals;

namespace Session {

const QString AlreadyRunning = u"このプログラムは既に起動されています。"_s;
const QString AlreadyRunningTitle = u"二重起動"_s;
const QString ExitQuestion = u" シートが変更されてます。　保存しますか？　"_s;
const QString ExitQuestionTitle = u"終了確認"_s;

namespace {

// Yes saves; a save that does not happen (cancelled, failed) asks again, so that work is
// never dropped by accident. No leaves without saving.
void offerToSave(Workspace& workspace, Prompts& prompts) {
    while (workspace.SheetModified == 1) {
        if (prompts.ask(ExitQuestion, ExitQuestionTitle) != Prompts::Answer::Yes) return;
        if (AlbumCommands::SaveAlbum(workspace, prompts) || workspace.AlbumRowCount == 0) return;
    }
}

} // namespace

void startUp(Workspace& workspace, Prompts& prompts, const QString& albumPath) {
    // An export killed with the program leaves hidden folders beside its PHOTO folder.
    DeliveryExport::recoverAllInterrupted();
    // The run writes its files into the program folder, which may be on a stick that shows
    // hidden files on Windows: what killed runs left there goes first.
    AtomicFile::removeLeftovers(workspace.programFolder());
    ProgramFiles::readBookmarksAndSettings(workspace, prompts);
    workspace.UpdateRowTotal();
    workspace.ClickCounter = 0;
    if (!albumPath.isEmpty()) AlbumCommands::OpenAlbumFile(workspace, prompts, albumPath);
    workspace.SheetModified = 0;
    // Opening the album at start-up is not something to undo.
    workspace.undoStack.clear();
    ProgramFiles::readPhrases(workspace, prompts);
}

void shutDown(Workspace& workspace, Prompts& prompts, bool showFilePreview) {
    offerToSave(workspace, prompts);
    workspace.settings.setItem(SettingItem::ShowFilePreview, SettingValue::number(showFilePreview ? 1 : 0));
    ProgramFiles::writeAll(workspace, prompts);
}

} // namespace Session
