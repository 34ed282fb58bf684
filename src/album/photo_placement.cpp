#include "album/photo_placement.h"

#include "album/album_commands.h"
#include "album/blackboard_lines.h"
#include "album/photo_folder.h"
#include "album/photo_paths.h"
#include "base/prompts.h"
#include "workspace/workspace.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace PhotoPlacement {

namespace {

void tellCapacity(Prompts& prompts) {
    prompts.tell(AlbumCommands::CapacityExceeded, u"確認"_s, Prompts::Icon::Question);
}

} // namespace

Result placePaths(Workspace& workspace, const QString& commandName, const QStringList& paths, int startRow,
                  const StopCheck& stop) {
    Result result;
    QList<AlbumRow> rows = workspace.SS1.rows();
    int r = std::max(startRow, 1);
    const int firstRow = r;
    for (const QString& path : paths) {
        if (r > workspace.AlbumMaxRows) {
            result.capacityReached = true;
            break;
        }
        if (rows.size() < r) rows.resize(r);
        AlbumRow& row = rows[r - 1];
        row.path = path;
        row.info = BuildInfoFromPath(path, workspace.settings);
        ++result.placed;
        ++r;
        if (stop && stop()) {
            result.stopped = result.placed < paths.size();
            break;
        }
    }
    if (result.placed == 0) return result;
    BlackboardLines::fillPlaced(workspace, rows, firstRow, r - 1);
    workspace.replaceRows(commandName, std::move(rows), 1);
    workspace.FirstNewRow = firstRow;
    workspace.LastNewRow = r - 1;
    result.thumbnailsDue = workspace.settings.itemIsOn(SettingItem::ShowThumbnails);
    return result;
}

Result placeSelectedFiles(Workspace& workspace, Prompts& prompts, const QString& folder,
                          const QStringList& selectedNames, int startRow, const StopCheck& stop) {
    QStringList paths;
    for (const QString& name : selectedNames)
        paths << PhotoPaths::join(folder, name);
    BusyScope busy(prompts);
    Result result = placePaths(workspace, u">>"_s, paths, startRow, stop);
    if (result.capacityReached) {
        result.thumbnailsDue = false;
        tellCapacity(prompts);
    }
    return result;
}

QStringList localPaths(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls)
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

Result dropFiles(Workspace& workspace, Prompts& prompts, const QList<QUrl>& urls, int startRow) {
    QStringList pictures;
    for (const QString& path : localPaths(urls)) {
        const QFileInfo file(path);
        if (!file.isDir() && PhotoFolder::isPictureName(file.fileName())) pictures << path;
    }
    Result result = placePaths(workspace, u"ドロップ"_s, pictures, startRow);
    if (result.capacityReached) tellCapacity(prompts);
    return result;
}

} // namespace PhotoPlacement
