#include "album/csv_photo_list.h"

#include "app/ansi_codec.h"
#include "app/app_error.h"
#include "app/shared_routines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

const QString CsvDialogTitle = u"CSVファイルを開く"_s;
const QString CsvDialogFilter = u"CSVﾌｧｲﾙ(*.CSV)|*.CSV"_s;

namespace {

QString failure(const QString& path, const QString& reason) {
    return u"CSVファイルを読み込めませんでした。\r\n"_s + path + u"\r\n"_s + reason;
}

} // namespace

QString folderOfPath(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.left(slash + 1);
}

CsvPhotoList readCsvPhotoList(const QString& path, int maxRows) {
    QFile file(path);
    if (!QFileInfo::exists(path)) throw AppError(failure(path, u"ファイルが見つかりません。"_s));
    if (!file.open(QIODevice::ReadOnly)) throw AppError(failure(path, file.errorString()));
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(file.readAll());
    if (!decoded.ok)
        throw AppError(failure(
            path, u"文字コードを読み取れません（Shift_JIS または UTF-8 のファイルを選んで下さい）。"_s));

    static const QRegularExpression lineBreak(u"\r\n|\n|\r"_s);
    QStringList lines = decoded.text.split(lineBreak);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the break after the last line ends it, it starts no line

    CsvPhotoList list;
    list.folder = folderOfPath(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (list.rows.size() >= maxRows) {
            list.linesNotImported = int(lines.size() - i);
            break;
        }
        const FieldBuffer fields = SplitFields(lines.at(i));
        AlbumRow row;
        row.info = fields(1) + u"\r\n"_s + fields(2) + u"\r\n"_s;
        row.path = list.folder + fields(3);
        list.rows.append(row);
    }
    return list;
}
