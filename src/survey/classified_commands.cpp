#include "survey/classified_commands.h"

#include "album/album_commands.h"
#include "album/blackboard_lines.h"
#include "base/app_error.h"
#include "base/output_choice.h"
#include "base/output_guard.h"
#include "base/prompts.h"
#include "survey/classified_check.h"
#include "survey/classified_csv.h"
#include "survey/classified_file.h"
#include "survey/classified_import.h"
#include "survey/import_capacity.h"
#include "workspace/workspace.h"

using namespace Qt::StringLiterals;

namespace ClassifiedCommands {

const QString NoLinesToSave = u"対象データがありません。CSVのインポートを行って下さい。"_s;
const QString NoLinesToUse = u"対象データがありません。CSVを指示してｲﾝﾎﾟｰﾄ対象を選択して下さい。"_s;
const QString NoGroupSelected = u"ｲﾝﾎﾟｰﾄする公図番号が選択されていません。一覧から選択して下さい。"_s;
const QString CheckClean = u"不正なデータは見つかりませんでした。作業を進めて下さい。"_s;
const QString CheckFound = u"写真存在無し等不正データがありました。CHKErr.logファイルを確認して下さい。"_s;
const QString CheckOverLimit =
    u"エラーが5000行を超えました。logファイルが作成できません。もう少しきちんとしたデータを指示願います。"_s;
const QString ThumbnailFailure =
    u"メモリーがパンクしました。条件設定の「一覧の写真を表示する」のチェックを外して下さい。ご迷惑をおかけ致します。"_s;
const QString Analysing = u"CSV解析中"_s;
const QString ChooseGroups = u"ｲﾝﾎﾟｰﾄしたい公図番号を指示します。(複数選択可)"_s;
const QString CsvDialogTitle = u"CSVファイルを開く"_s;
const QString CsvDialogFilter = u"CSVﾌｧｲﾙ(*.CSV)|*.CSV"_s;
const QString ConfirmTitle = u"確認"_s;
const QString ErrorTitle = u"エラー"_s;

namespace {

void tellFailure(Prompts& prompts, const AppError& error) {
    prompts.tell(error.message(), ErrorTitle, Prompts::Icon::Critical);
}

} // namespace

bool StartImport1(Workspace& workspace, Prompts& prompts) {
    if (workspace.AlbumRowCount <= 0) return true;
    workspace.SheetModified = 1;
    return AlbumCommands::NewAlbum(workspace, prompts);
}

bool OpenCsv(ClassifiedData& data, Prompts& prompts, const QString& path, ClassifiedKey key) {
    try {
        BusyScope busy(prompts);
        data = readClassifiedCsv(path, key);
    } catch (const AppError& error) {
        tellFailure(prompts, error);
        return false;
    }
    return true;
}

void Check(const ClassifiedData& data, Prompts& prompts) {
    if (data.lineCount() == 0) {
        prompts.tell(NoLinesToUse, ConfirmTitle, Prompts::Icon::Question);
        return;
    }
    ClassifiedCheck::Result result;
    {
        BusyScope busy(prompts);
        result = ClassifiedCheck::run(data);
    }
    if (result.overLimit) {
        prompts.tell(CheckOverLimit, ErrorTitle, Prompts::Icon::Critical);
        return;
    }
    if (result.problems.isEmpty()) {
        prompts.tell(CheckClean, ConfirmTitle, Prompts::Icon::Information);
        return;
    }
    try {
        ClassifiedCheck::writeLog(ClassifiedCheck::logPath(data.folder), result.problems);
    } catch (const AppError& error) {
        tellFailure(prompts, error);
        return;
    }
    prompts.tell(CheckFound, ErrorTitle, Prompts::Icon::Critical);
}

bool SaveImportFile(const ClassifiedData& data, Prompts& prompts, const OutputGuard& albumGuard) {
    if (data.lineCount() == 0) {
        prompts.tell(NoLinesToSave, ConfirmTitle, Prompts::Icon::Question);
        return false;
    }
    // The photos the list names are kept as well as the album's.
    OutputGuard guard = albumGuard;
    guard.keepAll(ClassifiedImport::photosOf(data), OutputGuard::Photo);
    const QString path = OutputChoice::chooseFile(prompts, {{}, ClassifiedFile::DialogFilter, 1, data.folder},
                                                  ClassifiedFile::Extension, guard, ConfirmTitle);
    if (path.isEmpty()) return false;
    try {
        BusyScope busy(prompts);
        guard.check(ClassifiedFile::companionPath(path));
        ClassifiedFile::save(path, data);
    } catch (const AppError& error) {
        tellFailure(prompts, error);
        return false;
    }
    return true;
}

bool LoadImportFile(ClassifiedData& data, Prompts& prompts, const ClassifiedLoad& load) {
    const QString path = prompts.openFile({{}, ClassifiedFile::DialogFilter, 1, data.folder});
    if (path.isEmpty()) return false;
    try {
        BusyScope busy(prompts);
        data = load(path);
    } catch (const AppError& error) {
        tellFailure(prompts, error);
        return false;
    }
    return true;
}

bool Import(ClassifiedData& data, Workspace& workspace, Prompts& prompts,
            const QList<ClassifiedImport::Block>& blocks) {
    if (data.lineCount() == 0) {
        prompts.tell(NoLinesToUse, ConfirmTitle, Prompts::Icon::Question);
        return false;
    }
    if (blocks.isEmpty()) {
        prompts.tell(NoGroupSelected, ConfirmTitle, Prompts::Icon::Question);
        return false;
    }
    ClassifiedImport::Result result = ClassifiedImport::build(data, blocks, workspace.AlbumMaxRows);
    BlackboardLines::fillPlaced(workspace, result.rows, 1, int(result.rows.size()));
    workspace.replaceRows(u"インポート"_s, std::move(result.rows), 1);
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = workspace.AlbumRowCount;
    if (result.linesLeftOut > 0)
        prompts.tell(ImportCapacity::message(result.linesLeftOut), ConfirmTitle, Prompts::Icon::Question);
    return true;
}

} // namespace ClassifiedCommands
