#include "album/album_file.h"

#include "album/photo_paths.h"
#include "base/app_error.h"
#include "base/sheet_file.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace AlbumFile {

const QString Extension = u".dat"_s;
const QString DialogFilter = u"すべてのﾌｧｲﾙ (*.*)|*.*|ﾃｷｽﾄ ﾌｧｲﾙ (*.txt)|*.txt|ﾃﾞｰﾀ ﾌｧｲﾙ (*.dat)|*.dat"_s;
const QString ChangedElsewhere = u"アルバムファイルは開いた後に他の処理で変更されています。"_s;

QList<AlbumRow> load(const QString& path, int maxRows, FileState* state) {
    const SheetContent content = SheetFile::load(path, state);
    if (content.columns != AlbumColumn::Count)
        throw AppError(SheetFile::loadFailure(path, u"写真帳ファイルではありません（列数 "_s +
                                                        QString::number(content.columns) + u"）。"_s));
    if (content.lastRow() > maxRows)
        throw AppError(SheetFile::loadFailure(path, u"行数が上限を超えています（ファイル "_s +
                                                        QString::number(content.lastRow()) + u" 行、上限 "_s +
                                                        QString::number(maxRows) + u" 行）。"_s));
    const QString folder = QFileInfo(path).absolutePath();
    QList<AlbumRow> rows(content.lastRow());
    for (const auto& [row, cells] : content.rows) {
        AlbumRow& target = rows[row - 1];
        target.info = cells.at(AlbumColumn::Info - 1);
        target.number = cells.at(AlbumColumn::Number - 1);
        target.path = PhotoPaths::fromFolder(cells.at(AlbumColumn::Path - 1), folder);
    }
    while (!rows.isEmpty() && rows.constLast().isEmpty())
        rows.removeLast();
    return rows;
}

FileState save(const QString& path, const QList<AlbumRow>& rows) {
    SheetContent content;
    content.columns = AlbumColumn::Count;
    for (int r = 0; r < rows.size(); ++r) {
        const AlbumRow& row = rows.at(r);
        if (row.info.isEmpty() && row.number.isEmpty() && row.path.isEmpty()) continue;
        content.rows.emplace(r + 1, QStringList{QString(), row.info, row.number, row.path});
    }
    return SheetFile::save(path, content);
}

FileState saveOver(const QString& path, const QList<AlbumRow>& rows, const FileState& read) {
    const FileState now = FileState::current(path);
    if (now.exists && !now.sameContent(read))
        throw AppError(SheetFile::saveFailure(
            path, ChangedElsewhere + u"変更は書き込みませんでした。もう一度実行して下さい。"_s));
    return save(path, rows);
}

} // namespace AlbumFile
