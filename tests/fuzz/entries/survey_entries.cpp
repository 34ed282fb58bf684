#include "fuzz_entries.h"

#include "base/app_error.h"
#include "survey/classified_check.h"
#include "survey/classified_csv.h"
#include "survey/classified_file.h"
#include "survey/classified_table.h"
#include "survey/sima_pm_file.h"
#include "survey/sima_reader.h"

#include <string_view>

using namespace Qt::StringLiterals;

namespace FuzzEntries {

void sima(const uint8_t* data, size_t size) {
    try {
        const SimaFile file = SimaReader::read(inputFile(data, size, u"input.sim"_s));
        const ParcelTables tables = parcelTables(file);
        tables.listsNoPoint();
        const SimaPoints points = indexPoints(file.points);
        // Every member is looked up by name, as the parcel lists do.
        for (const SimaParcelPoint& member : tables.members)
            FindPointByName(points.index, member.PointName);
        boundaryPoints(file, nullptr);
    } catch (const AppError&) {
    }
}

void pm(const uint8_t* data, size_t size) {
    try {
        const PmFile pmFile = LoadPmFile(inputFile(data, size, u"input.pm"_s));
        for (const QString& marker : pmFile.markers)
            markerNumber(marker);
        SimaFile sima;
        for (const QString& name : pmFile.names)
            sima.members.append({u"1"_s, name, u"0"_s, 1});
        boundaryPoints(sima, &pmFile);
    } catch (const AppError&) {
    }
}

void classified(const uint8_t* data, size_t size) {
    // The whole input is a crew's CSV; split at the marker it is an import file pair.
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const ClassifiedKey key : {ClassifiedKey::MapName, ClassifiedKey::MapNumber}) {
        try {
            ClassifiedCheck::run(readClassifiedCsv(inputFile(data, size, u"crew.csv"_s), key));
        } catch (const AppError&) {
        }
    }
    const size_t marker = input.find(CompanionMarker);
    const QString spd = u"import.spd"_s;
    const QString companion = ClassifiedFile::companionPath(spd);
    const QString spdPath = inputFile(data, marker == std::string_view::npos ? size : marker, spd);
    if (marker == std::string_view::npos) {
        removeInputFile(companion);
    } else {
        const size_t rest = marker + sizeof(CompanionMarker) - 1;
        inputFile(data + rest, size - rest, companion);
    }
    try {
        ClassifiedCheck::run(ClassifiedFile::load(spdPath));
    } catch (const AppError&) {
    }
}

} // namespace FuzzEntries
