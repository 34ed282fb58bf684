#include "album/csv_photo_list.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "base/photo_file.h"
#include "base/shared_routines.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

const QString CsvDialogTitle = u"CSVファイルを開く"_s;
const QString CsvDialogFilter = u"CSVﾌｧｲﾙ(*.CSV)|*.CSV"_s;

namespace {

const QString ReadHeadline = u"CSVファイルを読み込めませんでした。"_s;

} // namespace

QString folderOfPath(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.left(slash + 1);
}

QString joinListPath(const QString& folder, QStringView name) {
    if (name.isEmpty()) return folder;
    // In one piece: checks join a hundred thousand names.
    QString path = folder + name;
    const char16_t separator = QDir::separator().unicode();
    char16_t* c = reinterpret_cast<char16_t*>(path.data()) + folder.size();
    for (char16_t* end = c + name.size(); c != end; ++c)
        if (*c == u'\\' || *c == u'/') *c = separator;
    return path;
}

CsvPhotoList readCsvPhotoList(const QString& path, int maxRows) {
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(readWholeFile(path, ReadHeadline));
    if (const QString refusal = AnsiCodec::importRefusal(path, decoded); !refusal.isEmpty())
        throw AppError(refusal);

    static const QRegularExpression lineBreak(u"\r\n|\n|\r"_s);
    QStringList lines = decoded.text.split(lineBreak);
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast(); // the break after the last line ends it, it starts no line

    CsvPhotoList list;
    list.folder = folderOfPath(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    PhotoFile::Resolver photos;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const FieldBuffer fields = SplitFields(lines.at(i));
        list.photos << photos.resolve(joinListPath(list.folder, fields(3)));
        if (list.rows.size() >= maxRows) {
            ++list.linesNotImported;
            continue;
        }
        AlbumRow row;
        row.info = fields(1) + u"\r\n"_s + fields(2) + u"\r\n"_s;
        row.path = list.photos.constLast();
        list.rows.append(row);
    }
    return list;
}
