#pragma once

#include <QString>

class OutputGuard;
class Prompts;
class Workspace;

// The files the workspace keeps in the program folder: the settings, the folder bookmarks and
// the phrase dictionary. A file that exists but cannot be read whole is reported and never
// written back, so nothing in it is lost.
namespace ProgramFiles {

extern const QString SettingsFileName; // "tovenla.ini"
extern const QString BookmarkFileName; // "add.dat"
extern const QString PhraseFileName;   // "MJRT.dat"

// The command line's one way in: the settings alone, the defaults when the file is missing,
// and the sheet's capacity from them. Throws AppError when the file exists and cannot be read.
void readSettings(Workspace& workspace);

// The album's capacity from settings item 1, kept within what the sheet can hold.
int capacityFromSettings(const Workspace& workspace);

// The program's own files, which every run reads, kept by guard; answers guard.
OutputGuard& keep(OutputGuard& guard, const Workspace& workspace);

// Start-up: bookmarks and settings, each created with its defaults when missing, and the
// sheet's capacity; problems are reported and start-up goes on.
void readBookmarksAndSettings(Workspace& workspace, Prompts& prompts);
// Start-up: the phrase dictionary, created when missing.
void readPhrases(Workspace& workspace, Prompts& prompts);

// Shut-down: writes "add.dat", "tovenla.ini" and "MJRT.dat".
void writeAll(Workspace& workspace, Prompts& prompts);

// Writes "MJRT.dat" (also when the phrase window closes).
void savePhrases(Workspace& workspace, Prompts& prompts);

} // namespace ProgramFiles
