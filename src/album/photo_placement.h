#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class Prompts;
class Workspace;

// Putting photos on album rows: ">>" from the browser, a drop on the sheet, and the batch
// "place". Each run is one undoable command.
namespace PhotoPlacement {

struct Result {
    int placed = 0;
    bool capacityReached = false;
    bool stopped = false;
    // The thumbnails of FirstNewRow..LastNewRow are to be made now.
    bool thumbnailsDue = false;
};

// Asked after each placed row; true ends the run there, keeping the rows placed so far.
using StopCheck = std::function<bool()>;

// ">>": the selected files of the file list, in list order, from startRow. Running into the
// capacity shows the capacity message and makes no thumbnails.
Result placeSelectedFiles(Workspace& workspace, Prompts& prompts, const QString& folder,
                          const QStringList& selectedNames, int startRow, const StopCheck& stop = {});

// A drop of files from the file manager on row startRow: the pictures of the file-list
// pattern in the order given; other files and folders are passed over.
Result dropFiles(Workspace& workspace, Prompts& prompts, const QList<QUrl>& urls, int startRow);

// The local paths of a text/uri-list, in order.
QStringList localPaths(const QList<QUrl>& urls);

// Places paths from startRow without asking anything. Rows beyond the capacity are left out
// and counted in Result::capacityReached.
Result placePaths(Workspace& workspace, const QString& commandName, const QStringList& paths, int startRow,
                  const StopCheck& stop = {});

} // namespace PhotoPlacement
