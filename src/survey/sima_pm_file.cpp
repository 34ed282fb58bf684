#include "survey/sima_pm_file.h"

#include <cmath>

using namespace Qt::StringLiterals;

PmFile parsePmFile(const QString& text) {
    PmFile pm;
    const QStringView all(text);
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = start;
        while (end < all.size() && all.at(end) != u'\n' && all.at(end) != u'\r')
            ++end;
        const QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (end + 1 < all.size() && all.at(end) == u'\r' && all.at(end + 1) == u'\n') ++start;

        const qsizetype comma = line.indexOf(u',');
        const QStringView name = comma < 0 ? line : line.first(comma);
        QStringView marker;
        if (comma >= 0) {
            const qsizetype next = line.indexOf(u',', comma + 1);
            marker = line.sliced(comma + 1, (next < 0 ? line.size() : next) - comma - 1);
        }
        pm.names.append(name.toString());
        pm.markers.append(marker.toString());
        pm.index.add(pm.names.constLast(), int(pm.names.size()));
    }
    return pm;
}

PmFile LoadPmFile(const QString& path) {
    return parsePmFile(SimaReader::readText(path));
}

std::optional<int> markerNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || value != std::floor(value) || value < 0 || value > 7) return std::nullopt;
    return int(value);
}

QList<SimaParcelPoint> boundaryPoints(const SimaFile& file, const PmFile* pm) {
    QList<SimaParcelPoint> points;
    for (const SimaParcelPoint& member : file.members) {
        const QString& name = member.PointName;
        if (!name.startsWith(u"ZT"_s) || (name.size() > 2 && name.at(2) == u'P')) continue;
        SimaParcelPoint point = member;
        point.MarkerCode = u"0"_s;
        if (pm)
            if (const auto record = FindPointByName(pm->index, name))
                point.MarkerCode = pm->markers.at(*record - 1);
        points.append(std::move(point));
    }
    return points;
}

QList<SimaParcelPoint> LoadBoundaryPoints(const QString& path, const PmFile* pm) {
    return boundaryPoints(SimaReader::read(path), pm);
}
