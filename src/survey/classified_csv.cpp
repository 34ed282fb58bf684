#include "survey/classified_csv.h"

#include "album/csv_photo_list.h"
#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

ClassifiedData readClassifiedCsv(const QString& path, ClassifiedKey key) {
    const AnsiCodec::Decoded decoded =
        AnsiCodec::decode(readWholeFile(path, u"CSVファイルを読み込めませんでした。"_s));
    if (const QString refusal = AnsiCodec::importRefusal(path, decoded); !refusal.isEmpty())
        throw AppError(refusal);
    ClassifiedData data;
    data.folder = folderOfPath(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    fillTable(data.table, decoded.text);
    formGroups(data, key);
    return data;
}
