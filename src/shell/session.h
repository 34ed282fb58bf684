#pragma once

#include <QString>

class OutputGuard;
class Prompts;
class Workspace;

// What start-up and shut-down do with the program's files and the album, apart from the
// windows themselves.
namespace Session {

extern const QString SettingsFileName; // "tovenla.ini"
extern const QString BookmarkFileName; // "add.dat"
extern const QString PhraseFileName;   // "MJRT.dat"

extern const QString AlreadyRunning; // "このプログラムは既に起動されています。"
extern const QString AlreadyRunningTitle;
extern const QString ExitQuestion; // " シートが変更されてます。　保存しますか？　"
extern const QString ExitQuestionTitle;

// Reads the settings alone (batch use): the defaults when the file is missing. Throws
// AppError when it exists and cannot be read.
void readSettings(Workspace& workspace);

// Start-up after the single-instance check: what killed delivery exports left, bookmarks,
// settings, the sheet's capacity, the album named on the command line (may be empty), the
// phrase dictionary. Missing files are
// created with their defaults; problems are reported and start-up goes on.
void startUp(Workspace& workspace, Prompts& prompts, const QString& albumPath);

// Shut-down: offers to save a modified album, then writes "add.dat", "tovenla.ini" and
// "MJRT.dat". showFilePreview is the main window's preview check box (settings item 2).
void shutDown(Workspace& workspace, Prompts& prompts, bool showFilePreview);

// Writes "MJRT.dat" (also when the phrase window closes); a dictionary that could not be
// read at start-up is left as it is on disk.
void savePhrases(Workspace& workspace, Prompts& prompts);

// The program's own files, which every run reads, kept by guard; answers guard.
OutputGuard& keepProgramFiles(OutputGuard& guard, const Workspace& workspace);

// The album's capacity from settings item 1, kept within what the sheet can hold.
int capacityFromSettings(const Workspace& workspace);

} // namespace Session
