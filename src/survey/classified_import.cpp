#include "survey/classified_import.h"

#include "base/row_ranges.h"

#include "album/csv_photo_list.h"
#include "base/app_error.h"
#include "base/photo_file.h"
#include "survey/classified_table.h"

using namespace Qt::StringLiterals;

namespace ClassifiedImport {

namespace {

constexpr int NearPhotoColumn = 5;
constexpr int FarPhotoColumn = 6;

QString photoOf(const ClassifiedData& data, int line, int column, PhotoFile::Resolver& photos) {
    return photos.resolve(joinListPath(data.folder, data.table.column(line, column)));
}

} // namespace

Result build(ClassifiedData& data, const QList<Block>& blocks, int maxRows) {
    Result result;
    int chosen = 0;
    for (const Block& block : blocks)
        for (int g = block.top; g <= block.bottom; ++g)
            chosen += data.groups.at(g - 1).size();
    PhotoFile::Resolver photos;
    for (const Block& block : blocks) {
        for (int g = block.top; g <= block.bottom; ++g) {
            const ImportGroup& group = data.groups.at(g - 1);
            GroupRow& groupRow = data.rows[g - 1];
            for (int j = group.first; j <= group.last; ++j) {
                if (result.rows.size() + 2 > maxRows) {
                    result.linesLeftOut = chosen - result.linesImported;
                    return result;
                }
                groupRow.flag = u"1"_s;
                AlbumRow near;
                near.info = data.table.column(j, 0) + u"\r\n"_s + data.table.column(j, 3) + u"\r\n"_s +
                            data.table.column(j, 7) + u"\r\n"_s + data.table.column(j, 4) + u"\r\n"_s +
                            groupRow.sheetName + u"\r\n"_s;
                near.path = photoOf(data, j, NearPhotoColumn, photos);
                AlbumRow far;
                far.path = photoOf(data, j, FarPhotoColumn, photos);
                result.rows << near << far;
                ++result.linesImported;
            }
        }
    }
    return result;
}

QStringList photosOf(const ClassifiedData& data) {
    PhotoFile::Resolver photos;
    QStringList paths;
    for (int j = 1; j <= data.lineCount(); ++j)
        paths << photoOf(data, j, NearPhotoColumn, photos) << photoOf(data, j, FarPhotoColumn, photos);
    return paths;
}

QList<Block> parseBlocks(const QString& selection, int groups) {
    QList<Block> blocks;
    for (const RowRange& range : parseRowRanges(selection, groups, u"グループ"_s))
        blocks.append({range.first, range.last});
    return blocks;
}

} // namespace ClassifiedImport
