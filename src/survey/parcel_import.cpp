#include "survey/parcel_import.h"

#include "album/blackboard_lines.h"
#include "base/prompts.h"
#include "survey/real_estate_report.h"
#include "workspace/workspace.h"

using namespace Qt::StringLiterals;

namespace ParcelImport {

const QString WarningTitle = u"警告"_s;

namespace {

// At most this many warnings are listed in one message; the rest are counted.
constexpr int ShownWarnings = 20;

bool apply(Workspace& workspace, Prompts& prompts, const QString& commandName, ParcelRows::Result result) {
    BlackboardLines::fillPlaced(workspace, result.rows, 1, int(result.rows.size()));
    workspace.replaceRows(commandName, std::move(result.rows), 1);
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = workspace.AlbumRowCount;
    if (!result.warnings.isEmpty()) {
        QStringList shown = result.warnings.mid(0, ShownWarnings);
        if (result.warnings.size() > ShownWarnings)
            shown << u"ほか "_s + QString::number(result.warnings.size() - ShownWarnings) + u" 件"_s;
        prompts.tell(shown.join(u"\r\n"_s), u"確認"_s, Prompts::Icon::Exclamation);
    }
    if (result.pointsLeftOut > 0) prompts.tell(result.capacityMessage(), u"確認"_s, Prompts::Icon::Question);
    return true;
}

} // namespace

bool importBoundaryPoints(Workspace& workspace, Prompts& prompts, const QList<SimaParcelPoint>& points,
                          const ParcelRows::BoundaryTexts& texts) {
    if (points.isEmpty()) {
        prompts.tell(SimaReader::NoParcelsLoaded, WarningTitle, Prompts::Icon::Critical);
        return false;
    }
    return apply(workspace, prompts, u"Import3"_s,
                 ParcelRows::boundaryRows(points, texts, workspace.AlbumMaxRows));
}

bool importParcels(Workspace& workspace, Prompts& prompts, const ParcelTables& tables,
                   const QList<int>& parcels, const QString& folder) {
    if (tables.members.isEmpty() || tables.listsNoPoint()) {
        prompts.tell(SimaReader::NoParcelsLoaded, WarningTitle, Prompts::Icon::Critical);
        return false;
    }
    if (parcels.isEmpty()) {
        prompts.tell(RealEstateReport::NoParcelChosen, WarningTitle, Prompts::Icon::Critical);
        return false;
    }
    return apply(workspace, prompts, u"Import4"_s,
                 ParcelRows::parcelRows(tables, parcels, folder, workspace.AlbumMaxRows));
}

ParcelRows::BoundaryTexts boundaryTextsFromSettings(const Workspace& workspace) {
    const Settings& s = workspace.settings;
    return {s.itemText(SettingItem::SimaPhotoFolder), s.itemText(SettingItem::PointCodePrefix),
            s.itemText(SettingItem::ParcelInfoLine1), s.itemText(SettingItem::NearSuffix),
            s.itemText(SettingItem::FarSuffix)};
}

} // namespace ParcelImport
