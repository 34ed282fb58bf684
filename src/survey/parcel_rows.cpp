#include "survey/parcel_rows.h"

#include "album/photo_paths.h"
#include "base/photo_file.h"
#include "base/safe_file_name.h"
#include "survey/import_capacity.h"
#include "survey/sima_pm_file.h"

#include <array>

using namespace Qt::StringLiterals;

namespace ParcelRows {

namespace {

const QString Crlf = u"\r\n"_s;

QString pointLabel(const SimaParcelPoint& point) {
    return u"SIMAファイル "_s + QString::number(point.line) + u" 行目の点 "_s + point.PointName;
}

QString badNameWarning(const SimaParcelPoint& point, const QString& fileName) {
    return pointLabel(point) + u": ファイル名に使えない文字があるため写真のパスを空にしました（"_s +
           fileName + u"）"_s;
}

} // namespace

const MarkerLines& markerLines(int code) {
    static const std::array<MarkerLines, 8> table = {{
        {u"有り"_s, u"市石杭"_s},
        {u"有り"_s, u"国及県石杭・金属標"_s},
        {u"有り"_s, u"市金属標"_s},
        {u"不明"_s, u"民間石杭"_s},
        {u"不明"_s, u"民間金属標"_s},
        {u"不明"_s, u"プラスチック"_s},
        {u"不明"_s, u"鋲・ペイント・刻み"_s},
        {u"不明"_s, u"現況"_s},
    }};
    return table.at(size_t(code));
}

QString Result::capacityMessage() const {
    if (pointsLeftOut == 0) return {};
    return ImportCapacity::message(pointsLeftOut);
}

QString photoPath(const QString& folder, const QString& fileName) {
    if (!SafeFileName::isPlain(fileName)) return {};
    if (folder.isEmpty()) return fileName;
    return PhotoPaths::join(folder, fileName);
}

Result boundaryRows(const QList<SimaParcelPoint>& points, const BoundaryTexts& texts, int maxRows) {
    Result result;
    PhotoFile::Resolver photos;
    for (qsizetype k = 0; k < points.size(); ++k) {
        const SimaParcelPoint& point = points.at(k);
        if (result.rows.size() + 2 > maxRows) {
            result.pointsLeftOut = int(points.size() - k);
            break;
        }
        // An unknown code leaves both lines empty rather than repeating the previous point's.
        MarkerLines lines;
        if (const auto code = markerNumber(point.MarkerCode))
            lines = markerLines(*code);
        else
            result.warnings << pointLabel(point) + u": 標識コード「"_s + point.MarkerCode +
                                   u"」は 0～7 ではないため、3 行目と 4 行目を空にしました。"_s;

        const QString base = texts.prefix + point.PointName;
        const QString nearName = base + texts.nearSuffix + u".jpg"_s;
        const QString farName = base + texts.farSuffix + u".jpg"_s;
        AlbumRow first;
        first.info = texts.line1 + Crlf + point.PointName + Crlf + lines.witness + Crlf + lines.kind + Crlf +
                     point.ParcelName + Crlf;
        first.path = photos.resolve(photoPath(texts.folder, nearName));
        AlbumRow second;
        second.path = photos.resolve(photoPath(texts.folder, farName));
        if (first.path.isEmpty()) result.warnings << badNameWarning(point, nearName);
        if (second.path.isEmpty() && !first.path.isEmpty()) result.warnings << badNameWarning(point, farName);
        result.rows << first << second;
    }
    return result;
}

Result parcelRows(const ParcelTables& tables, const QList<int>& parcels, const QString& folder, int maxRows) {
    Result result;
    PhotoFile::Resolver photos;
    int total = 0;
    for (int p : parcels)
        total += std::max(0, tables.parcels.at(p - 1).pointCount());
    for (int p : parcels) {
        const SimaParcel& parcel = tables.parcels.at(p - 1);
        for (int i = parcel.FirstPoint; i <= parcel.LastPoint; ++i) {
            if (result.rows.size() >= maxRows) {
                result.pointsLeftOut = total - int(result.rows.size());
                return result;
            }
            const SimaParcelPoint& point = tables.members.at(i - 1);
            AlbumRow row;
            row.info = Crlf + point.PointName + Crlf + Crlf + Crlf + parcel.Name + Crlf;
            const QString fileName = point.PointName + u".jpg"_s;
            row.path = photos.resolve(photoPath(folder, fileName));
            if (row.path.isEmpty()) result.warnings << badNameWarning(point, fileName);
            result.rows << row;
        }
    }
    return result;
}

} // namespace ParcelRows
