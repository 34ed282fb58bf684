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

// The photos' blackboard items fill the new rows' lines here, where the photos are read anyway.
void fillFromBlackboards(Plan& plan, const PlanOptions& options) {
    if (!options.fillFromBlackboard || plan.paths.isEmpty()) return;
    QList<AlbumRow> rows(plan.paths.size());
    QList<int> which;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        rows[i].path = plan.paths[i];
        rows[i].info = plan.infos[i];
        which << int(i + 1);
    }
    BlackboardLines::fillRows(rows, which);
    for (qsizetype i = 0; i < rows.size(); ++i)
        plan.infos[i] = rows[i].info;
}

} // namespace

Plan plan(const QStringList& paths, int startRow, const PlanOptions& options, const Progress& progress) {
    Plan plan;
    int r = std::max(startRow, 1);
    for (const QString& path : paths) {
        if (r > options.maxRows) {
            plan.capacityReached = true;
            break;
        }
        plan.paths << path;
        plan.infos << BuildInfoFromPath(path, options.settings);
        ++r;
        try {
            progress.report({{}, plan.paths.size(), paths.size()});
        } catch (const Cancelled&) {
            plan.stopped = true; // the rows made so far are placed
            plan.selected = int(paths.size());
            break;
        }
    }
    fillFromBlackboards(plan, options);
    return plan;
}

PlanOptions planOptions(const Workspace& workspace) {
    return {workspace.AlbumMaxRows, workspace.settings, workspace.FillFromBlackboard};
}

Result apply(Workspace& workspace, const QString& commandName, const Plan& plan, int startRow) {
    Result result;
    result.capacityReached = plan.capacityReached;
    result.placed = int(plan.paths.size());
    if (result.placed == 0) return result;
    const int firstRow = std::max(startRow, 1);
    QList<AlbumRow> rows = workspace.SS1.rows();
    if (rows.size() < firstRow + result.placed - 1) rows.resize(firstRow + result.placed - 1);
    for (int i = 0; i < result.placed; ++i) {
        rows[firstRow + i - 1].path = plan.paths[i];
        rows[firstRow + i - 1].info = plan.infos[i];
    }
    workspace.replaceRows(commandName, std::move(rows), 1);
    workspace.FirstNewRow = firstRow;
    workspace.LastNewRow = firstRow + result.placed - 1;
    result.thumbnailsDue = workspace.settings.itemIsOn(SettingItem::ShowThumbnails);
    return result;
}

Result placePaths(Workspace& workspace, const QString& commandName, const QStringList& paths, int startRow) {
    // Nothing here can stop the plan, so asking for it never throws.
    return apply(workspace, commandName, plan(paths, startRow, planOptions(workspace), {}), startRow);
}

QStringList selectedPaths(const QString& folder, const QStringList& selectedNames) {
    QStringList paths;
    for (const QString& name : selectedNames)
        paths << PhotoPaths::join(folder, name);
    return paths;
}

QString stoppedText(const Plan& plan, int startRow) {
    const int placed = int(plan.paths.size());
    if (placed == 0) return u"中止しました。写真は置いていません。"_s;
    const int first = std::max(startRow, 1);
    const QString rows = placed == 1 ? QString::number(first)
                                     : QString::number(first) + u"～"_s + QString::number(first + placed - 1);
    return u"中止しました。選んだ "_s + QString::number(plan.selected) + u" 枚のうち "_s +
           QString::number(placed) + u" 枚を "_s + rows + u" 行目に置きました。"_s;
}

Result placeSelected(Workspace& workspace, Prompts& prompts, const Plan& plan, int startRow) {
    BusyScope busy(prompts);
    Result result = apply(workspace, u">>"_s, plan, startRow);
    if (result.capacityReached) {
        result.thumbnailsDue = false;
        tellCapacity(prompts);
    }
    if (plan.stopped) prompts.tell(stoppedText(plan, startRow), u"確認"_s, Prompts::Icon::Information);
    return result;
}

Result placeSelectedFiles(Workspace& workspace, Prompts& prompts, const QString& folder,
                          const QStringList& selectedNames, int startRow, const Progress& progress) {
    const Plan made = plan(selectedPaths(folder, selectedNames), startRow, planOptions(workspace), progress);
    return placeSelected(workspace, prompts, made, startRow);
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
