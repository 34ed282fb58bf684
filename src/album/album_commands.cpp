#include "album/album_commands.h"

#include "album/album_file.h"
#include "album/blackboard_lines.h"
#include "album/csv_photo_list.h"
#include "base/album_lock.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "base/output_choice.h"
#include "base/prompts.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace AlbumCommands {

const QString ClearQuestion = u"現在のデータが失われます。　データをすべてクリアーして良いですか？　"_s;
const QString ClearQuestionTitle = u"継続確認"_s;
const QString CapacityExceeded = u"行数が超えました。取込みを中止します。"_s;
const QString ChangedQuestion = u"アルバムファイルは開いた後に他の処理で変更されています。上書きしますか？"_s;

namespace {

const QString ErrorTitle = u"エラー"_s;

void reportFailure(Prompts& prompts, const AppError& error) {
    prompts.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
}

// The rows whose thumbnails are to be made next.
void markNewRows(Workspace& workspace) {
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = workspace.AlbumRowCount;
}

const QString SaveTitle = u"確認"_s;

// Writing over the album file the window read would undo what another run wrote into it since
// (a command-line place, the same album saved on another computer): the user decides.
bool mayWriteOver(const Workspace& workspace, Prompts& prompts, const QString& path) {
    if (workspace.AlbumFilePath.isEmpty() || !isSameFile(path, workspace.AlbumFilePath)) return true;
    if (FileState::current(path).sameContent(workspace.albumFileState)) return true;
    return prompts.ask(QDir::toNativeSeparators(path) + u"\r\n"_s + ChangedQuestion, SaveTitle,
                       Prompts::Icon::Exclamation, Prompts::Answer::No) == Prompts::Answer::Yes;
}

enum class Outcome { Written, Declined, Failed };

Outcome writeAlbum(Workspace& workspace, Prompts& prompts, const QString& path) {
    FileState written;
    try {
        BusyScope busy(prompts);
        // Held from the check to the write, so that no other run's change slips in between.
        const AlbumLock lock(path);
        if (!mayWriteOver(workspace, prompts, path)) return Outcome::Declined;
        written = AlbumFile::save(path, workspace.SS1.rows());
    } catch (const AppError& error) {
        reportFailure(prompts, error);
        return Outcome::Failed;
    }
    workspace.markSaved();
    workspace.AlbumFilePath = path;
    workspace.albumFileState = written;
    return Outcome::Written;
}

} // namespace

bool NewAlbum(Workspace& workspace, Prompts& prompts) {
    if (workspace.SheetModified == 1 &&
        prompts.ask(ClearQuestion, ClearQuestionTitle, Prompts::Icon::Question, Prompts::Answer::No) !=
            Prompts::Answer::Yes)
        return false;
    workspace.AlbumFilePath.clear();
    workspace.albumFileState = {};
    if (workspace.SS1.rows().isEmpty() && workspace.SheetModified == 0) {
        workspace.UpdateRowTotal();
        return true;
    }
    workspace.replaceRows(u"新規"_s, {}, 0);
    return true;
}

bool LoadAlbum(Workspace& workspace, Prompts& prompts) {
    const QString path = prompts.openFile({{}, AlbumFile::DialogFilter, AlbumFile::DialogFilterIndex, {}});
    if (path.isEmpty()) return false;
    return OpenAlbumFile(workspace, prompts, path);
}

bool OpenAlbumFile(Workspace& workspace, Prompts& prompts, const QString& path) {
    QList<AlbumRow> rows;
    FileState state;
    try {
        BusyScope busy(prompts);
        rows = AlbumFile::load(path, workspace.AlbumMaxRows, &state);
    } catch (const AppError& error) {
        reportFailure(prompts, error);
        return false;
    }
    workspace.replaceRows(u"呼出"_s, std::move(rows), 0);
    workspace.AlbumFilePath = path;
    workspace.albumFileState = state;
    markNewRows(workspace);
    return true;
}

bool SaveAlbum(Workspace& workspace, Prompts& prompts) {
    if (!SheetGuard::SheetHasData(workspace, prompts)) return false;
    // The open album's own file is the usual place; a photo of the album never is.
    const QFileInfo current(workspace.AlbumFilePath);
    const QString folder =
        workspace.AlbumFilePath.isEmpty() ? workspace.CurrentFolder : current.absolutePath();
    Prompts::FileRequest request{
        {}, AlbumFile::DialogFilter, AlbumFile::DialogFilterIndex, folder, current.fileName()};
    for (;;) {
        const QString path = OutputChoice::chooseFile(prompts, request, AlbumFile::Extension,
                                                      photoGuard(workspace.SS1.rows()), SaveTitle);
        if (path.isEmpty()) return false;
        switch (writeAlbum(workspace, prompts, path)) {
        case Outcome::Written:
            return true;
        case Outcome::Failed:
            return false;
        case Outcome::Declined: // as after No to replacing: the dialog again, for another name
            const QFileInfo declined(path);
            request.folder = declined.absolutePath();
            request.name = declined.fileName();
            break;
        }
    }
}

bool ImportCsvList(Workspace& workspace, Prompts& prompts) {
    const QString path = prompts.openFile({CsvDialogTitle, CsvDialogFilter, 1, workspace.ChosenFolder});
    if (path.isEmpty()) return false;
    workspace.ChosenFolder = folderOfPath(path);
    CsvPhotoList list;
    try {
        BusyScope busy(prompts);
        list = readCsvPhotoList(path, workspace.AlbumMaxRows);
    } catch (const AppError& error) {
        reportFailure(prompts, error);
        return false;
    }
    BlackboardLines::fillPlaced(workspace, list.rows, 1, int(list.rows.size()));
    workspace.replaceRows(u"Import2"_s, std::move(list.rows), 1);
    markNewRows(workspace);
    if (list.linesNotImported > 0)
        prompts.tell(CapacityExceeded + u"\r\n取り込まれなかった行数："_s +
                         QString::number(list.linesNotImported),
                     u"確認"_s, Prompts::Icon::Question);
    return true;
}

} // namespace AlbumCommands
