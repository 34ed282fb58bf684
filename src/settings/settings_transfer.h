#pragma once

#include <QString>

class Prompts;
class Workspace;

// "設定保存" and "設定呼出": the settings file and the phrase dictionary copied to and from a
// folder of the user's choice. Both throw AppError and change nothing when a file is missing or
// unreadable.
namespace SettingsTransfer {

extern const QString LoadedMessage; // "設定ファイル呼出完了。 ..."
extern const QString LoadedTitle;   // "Restart"
extern const QString DialogFilter;  // "ini ﾌｧｲﾙ (*.ini)|*.ini"

// The folder of a chosen path: everything up to and including the last separator.
QString folderOf(const QString& path);

// Copies the program folder's "tovenla.ini" and "MJRT.dat" into the folder of chosenPath
// under those names, whatever name was typed.
void saveToFolderOf(const Workspace& workspace, const QString& chosenPath);

// Whether "設定保存" may write its two files for chosenPath: never over the open album or its
// photos, and only after the user agrees to replace files that exist.
bool mayReplaceTargets(const Workspace& workspace, Prompts& prompts, const QString& chosenPath);

// Copies the chosen settings file and the "MJRT.dat" beside it into the program folder and
// makes both live in memory at once.
void loadFrom(Workspace& workspace, const QString& chosenFile);

} // namespace SettingsTransfer
