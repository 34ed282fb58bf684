#include "survey/classified_csv.h"

#include "album/csv_photo_list.h"
#include "app/ansi_codec.h"
#include "app/file_io.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

ClassifiedCsv readClassifiedCsv(const QString& path, ClassifiedKey key) {
    const AnsiCodec::Decoded decoded =
        AnsiCodec::decode(readWholeFile(path, u"CSVファイルを読み込めませんでした。"_s));
    ClassifiedCsv csv;
    if (!decoded.ok()) csv.unreadableReport = AnsiCodec::undecodableReport(path, decoded.badLines);
    csv.data.folder = folderOfPath(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    fillTable(csv.data.table, decoded.text);
    formGroups(csv.data, key);
    return csv;
}
