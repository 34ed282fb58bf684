#pragma once

#include "base/progress.h"
#include "workspace/settings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class Prompts;
class Workspace;

// Putting photos on album rows: ">>" from the browser, a drop on the sheet, and the batch
// "place". Each run is one undoable command.
namespace PhotoPlacement {

struct Result {
    int placed = 0;
    bool capacityReached = false;
    // The thumbnails of FirstNewRow..LastNewRow are to be made now.
    bool thumbnailsDue = false;
};

// What a placement writes, made without the album so that it can be made off the window's
// thread: the path and information of each row from the start row on.
struct Plan {
    QStringList paths;
    QStringList infos;
    bool capacityReached = false;
    bool stopped = false; // by the user, with `selected` photos chosen
    int selected = 0;
};

// What a stopped placement says it kept: how many of the chosen photos went on which rows.
QString stoppedText(const Plan& plan, int startRow);

// Copies of what a plan reads of the workspace.
struct PlanOptions {
    int maxRows;
    Settings settings;
    bool fillFromBlackboard;
};
PlanOptions planOptions(const Workspace& workspace);

// Reads the photos' information in order, as far as maxRows allows. A stop asked of progress
// ends the plan after the row at hand, keeping the rows made so far.
Plan plan(const QStringList& paths, int startRow, const PlanOptions& options, const Progress& progress);

// Writes a plan from startRow as one undoable command.
Result apply(Workspace& workspace, const QString& commandName, const Plan& plan, int startRow);

// The paths of the file list's selected files, in list order.
QStringList selectedPaths(const QString& folder, const QStringList& selectedNames);

// ">>": writes the plan of the selected files from startRow. Running into the capacity shows
// the capacity message and makes no thumbnails.
Result placeSelected(Workspace& workspace, Prompts& prompts, const Plan& plan, int startRow);

// ">>" made and written at once, for callers without a window.
Result placeSelectedFiles(Workspace& workspace, Prompts& prompts, const QString& folder,
                          const QStringList& selectedNames, int startRow, const Progress& progress = {});

// A drop of files from the file manager on row startRow: the pictures of the file-list
// pattern in the order given; other files and folders are passed over.
Result dropFiles(Workspace& workspace, Prompts& prompts, const QList<QUrl>& urls, int startRow);

// The local paths of a text/uri-list, in order.
QStringList localPaths(const QList<QUrl>& urls);

// Places paths from startRow without asking anything. Rows beyond the capacity are left out
// and counted in Result::capacityReached.
Result placePaths(Workspace& workspace, const QString& commandName, const QStringList& paths, int startRow);

} // namespace PhotoPlacement
