#pragma once

#include <QString>

class Prompts;
class Workspace;

// The commands that replace or store the whole album: 新規, 呼出, 保存 and Import2.
namespace AlbumCommands {

extern const QString ClearQuestion; // asked by 新規 on a modified sheet
extern const QString ClearQuestionTitle;
extern const QString CapacityExceeded; // "行数が超えました。取込みを中止します。"
// Asked before 保存 writes over the album file when another run changed it after it was
// opened or saved here.
extern const QString
    ChangedQuestion; // "アルバムファイルは開いた後に他の処理で変更されています。上書きしますか？"

// 新規. False when the user declined to clear a modified sheet, which is then left as it was.
bool NewAlbum(Workspace& workspace, Prompts& prompts);
// 呼出: asks for the file, then opens it. False when nothing was loaded.
bool LoadAlbum(Workspace& workspace, Prompts& prompts);
// Opens an album file without a dialog (also used for the command line). A failure is
// reported and leaves the open album as it was.
bool OpenAlbumFile(Workspace& workspace, Prompts& prompts, const QString& path);
// 保存. True when the file was written. Declining to write over a file another run changed
// shows the dialog again.
bool SaveAlbum(Workspace& workspace, Prompts& prompts);
// Import2: fills the sheet from a CSV photo list. True when the sheet was filled.
bool ImportCsvList(Workspace& workspace, Prompts& prompts);

} // namespace AlbumCommands
