#pragma once

#include <QString>

class Prompts;
class Workspace;

// What start-up and shut-down do with the program's files and the album, apart from the
// windows themselves.
namespace Session {

extern const QString AlreadyRunning; // "このプログラムは既に起動されています。"
extern const QString AlreadyRunningTitle;
extern const QString ExitQuestion; // " シートが変更されてます。　保存しますか？　"
extern const QString ExitQuestionTitle;

// Start-up after the single-instance check: what killed delivery exports left, bookmarks,
// settings, the sheet's capacity, the album named on the command line (may be empty), the
// phrase dictionary. Missing files are created with their defaults; problems are reported and
// start-up goes on.
void startUp(Workspace& workspace, Prompts& prompts, const QString& albumPath);

// Shut-down: offers to save a modified album, then writes the program's files.
// showFilePreview is the main window's preview check box (settings item 2).
void shutDown(Workspace& workspace, Prompts& prompts, bool showFilePreview);

} // namespace Session
