#pragma once

#include "survey/classified_file.h"
#include "survey/classified_import.h"
#include "survey/classified_table.h"

#include <QString>

#include <functional>

class OutputGuard;
class Prompts;
class Workspace;

// The steps of the classified import window, each ending with its message. A step that fails
// leaves the group list and the album as they were.
namespace ClassifiedCommands {

extern const QString NoLinesToSave; // "対象データがありません。CSVのインポートを行って下さい。"
extern const QString NoLinesToUse; // "対象データがありません。CSVを指示してｲﾝﾎﾟｰﾄ対象を選択して下さい。"
extern const QString NoGroupSelected; // nothing chosen for "インポート"
extern const QString CheckClean; // "不正なデータは見つかりませんでした。作業を進めて下さい。"
extern const QString
    CheckFound; // "写真存在無し等不正データがありました。CHKErr.logファイルを確認して下さい。"
extern const QString CheckOverLimit;   // "エラーが5000行を超えました。..."
extern const QString ThumbnailFailure; // "メモリーがパンクしました。..."
extern const QString Analysing;        // "CSV解析中"
extern const QString ChooseGroups; // "ｲﾝﾎﾟｰﾄしたい公図番号を指示します。(複数選択可)"
extern const QString CsvDialogTitle;  // "CSVファイルを開く"
extern const QString CsvDialogFilter; // "CSVﾌｧｲﾙ(*.CSV)|*.CSV"
extern const QString ConfirmTitle;    // "確認"
extern const QString ErrorTitle;      // "エラー"

// "Import1" on the main window, before the window opens: an album holding rows is cleared by
// "新規", always asking first. False when the user declined.
bool StartImport1(Workspace& workspace, Prompts& prompts);

// "インポートするCSVを選択" after the dialog: reads and groups the CSV into data. False, with
// the failure told, when the file could not be read.
bool OpenCsv(ClassifiedData& data, Prompts& prompts, const QString& path, ClassifiedKey key);

// "Dチェック": the check, its log and its message.
void Check(const ClassifiedData& data, Prompts& prompts);

// "保　存" and "呼　出", each with its file dialog. False when nothing was written or read.
bool SaveImportFile(const ClassifiedData& data, Prompts& prompts, const OutputGuard& guard);
// load reads the chosen file; a window runs it off its own thread.
using ClassifiedLoad = std::function<ClassifiedData(const QString& path)>;
bool LoadImportFile(ClassifiedData& data, Prompts& prompts,
                    const ClassifiedLoad& load = ClassifiedFile::load);

// "インポート": the chosen groups replace the album as one command. True when the album changed;
// FirstNewRow..LastNewRow then name the rows whose thumbnails are due.
bool Import(ClassifiedData& data, Workspace& workspace, Prompts& prompts,
            const QList<ClassifiedImport::Block>& blocks);

} // namespace ClassifiedCommands
