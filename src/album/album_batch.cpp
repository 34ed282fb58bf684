#include "album/album_batch.h"

#include "album/album_commands.h"
#include "album/album_file.h"
#include "album/blackboard_lines.h"
#include "album/csv_photo_list.h"
#include "album/photo_copy.h"
#include "album/photo_folder.h"
#include "album/photo_placement.h"
#include "base/album_lock.h"
#include "base/app_error.h"
#include "workspace/program_files.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace AlbumBatch {

namespace {

const QString ImportCsvUsage = u"  tovenla2 import-csv LIST.CSV ALBUM.dat [--no-blackboard]\n"
                               u"      CSV の写真リストからアルバムファイルを作ります。\n"_s;
const QString PlaceUsage =
    u"  tovenla2 place ALBUM.dat [--row N] PHOTO|FOLDER... [--no-blackboard]\n"
    u"      写真を N 行目（省略時は最終行の次）から順に置きます。フォルダはその中の画像を\n"
    u"      名前順に置きます。アルバムファイルがなければ作ります。電子小黒板の情報を持つ\n"
    u"      写真は、空いた情報行（10～21 行）をその情報で埋めます（--no-blackboard で埋めません）。\n"_s;
const QString BlackboardUsage =
    u"  tovenla2 blackboard PHOTO...\n"
    u"      写真が持つ電子小黒板の情報を「ファイル<TAB>項目<TAB>値」の行で出力します。\n"
    u"      情報のない写真があると終了コード 3 です。\n"_s;
const QString CopyPhotosUsage = u"  tovenla2 copy-photos ALBUM.dat FOLDER\n"
                                u"      アルバムの写真を情報から作った名前で FOLDER にコピーします。\n"_s;

// Messages are made for message boxes, with CR LF between their lines.
QString lines(const QString& message) {
    return QString(message).replace(u"\r\n"_s, u"\n"_s);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Answers what the file held, for a run that writes it back.
FileState readAlbumInto(Workspace& workspace, const QString& path, bool mayBeMissing) {
    ProgramFiles::readSettings(workspace);
    FileState state;
    if (!mayBeMissing || QFileInfo::exists(path))
        workspace.SS1.setRows(AlbumFile::load(path, workspace.AlbumMaxRows, &state));
    workspace.UpdateRowTotal();
    return state;
}

int importCsv(const QStringList& words, const QString& programFolder, QTextStream& out, QTextStream& err) {
    bool noBlackboard = false;
    const QStringList arguments = withoutOption(words, NoBlackboardOption, noBlackboard);
    if (arguments.size() != 2)
        throw BatchUsageError(u"import-csv には CSV ファイルとアルバムファイルを指定して下さい。"_s);
    const QString& csvPath = arguments.at(0);
    const QString& albumPath = arguments.at(1);
    Workspace workspace(programFolder);
    workspace.FillFromBlackboard = !noBlackboard;
    ProgramFiles::readSettings(workspace);
    CsvPhotoList list = readCsvPhotoList(csvPath, workspace.AlbumMaxRows);
    // Every photo the list names is an input of the run, those beyond the capacity included.
    OutputGuard guard;
    guard.keepAll(list.photos, OutputGuard::Photo);
    ProgramFiles::keep(guard, workspace).keep(csvPath, OutputGuard::List).check(albumPath);
    const AlbumLock lock(albumPath);
    if (list.rows.isEmpty())
        throw AppError(SheetGuard::NoDataLong +
                       u"\nCSV ファイルに写真の行がないため、アルバムファイルは作りませんでした。"_s);
    BlackboardLines::fillPlaced(workspace, list.rows, 1, int(list.rows.size()));
    AlbumFile::save(albumPath, list.rows);
    out << shown(albumPath) << u": "_s << list.rows.size() << u" 行\n"_s;
    if (list.linesNotImported == 0) return 0;
    err << AlbumCommands::CapacityExceeded << u"\n取り込まれなかった行数："_s << list.linesNotImported
        << u"（アルバムの容量 "_s << workspace.AlbumMaxRows << u" 行）\n"_s;
    return 3;
}

// Folders become their pictures in name order; files must be pictures of the list's pattern.
QStringList photosToPlace(const QStringList& items, QStringList& leftOut) {
    QStringList photos;
    for (const QString& item : items) {
        const QFileInfo info(item);
        const QString path = QDir::toNativeSeparators(info.absoluteFilePath());
        if (info.isDir()) {
            photos << PhotoFolder::picturePaths(path);
        } else if (!info.exists()) {
            throw AppError(u"写真が見つかりません。\n"_s + shown(item));
        } else if (PhotoFolder::isPictureName(info.fileName())) {
            photos << path;
        } else {
            leftOut << item;
        }
    }
    return photos;
}

int place(const QStringList& words, const QString& programFolder, QTextStream& out, QTextStream& err) {
    bool noBlackboard = false;
    const QStringList arguments = withoutOption(words, NoBlackboardOption, noBlackboard);
    if (arguments.size() < 2) throw BatchUsageError(u"place にはアルバムファイルと写真を指定して下さい。"_s);
    const QString& albumPath = arguments.at(0);
    qsizetype next = 1;
    int startRow = 0;
    if (arguments.at(1) == u"--row"_s) {
        bool ok = false;
        startRow = arguments.size() > 2 ? arguments.at(2).toInt(&ok) : 0;
        if (!ok || startRow < 1) throw BatchUsageError(u"--row には 1 以上の行番号を指定して下さい。"_s);
        next = 3;
    }
    const QStringList items = arguments.mid(next);
    if (items.isEmpty()) throw BatchUsageError(u"place には写真かフォルダを一つ以上指定して下さい。"_s);

    Workspace workspace(programFolder);
    workspace.FillFromBlackboard = !noBlackboard;
    const AlbumLock lock(albumPath);
    const FileState read = readAlbumInto(workspace, albumPath, true);
    QStringList leftOut;
    const QStringList photos = photosToPlace(items, leftOut);
    OutputGuard guard = photoGuard(workspace.SS1.rows());
    ProgramFiles::keep(guard, workspace).keepAll(photos, OutputGuard::Photo).check(albumPath);
    if (startRow == 0) startRow = workspace.AlbumRowCount + 1;

    const PhotoPlacement::Result result = PhotoPlacement::placePaths(workspace, u"place"_s, photos, startRow);
    // Also where the lock reaches no other computer (a share without locks).
    AlbumFile::saveOver(albumPath, workspace.SS1.rows(), read);
    out << shown(albumPath) << u": "_s << result.placed << u" 枚の写真を置きました"_s;
    if (result.placed > 0)
        out << u"（"_s << workspace.FirstNewRow << u"～"_s << workspace.LastNewRow << u" 行）"_s;
    out << u'\n';
    for (const QString& item : leftOut)
        err << u"ファイル一覧に出ない種類のファイルのため置きませんでした: "_s << shown(item) << u'\n';
    if (result.capacityReached)
        err << AlbumCommands::CapacityExceeded << u"\n置けなかった写真の数："_s
            << photos.size() - result.placed << u"（アルバムの容量 "_s << workspace.AlbumMaxRows
            << u" 行）\n"_s;
    return leftOut.isEmpty() && !result.capacityReached ? 0 : 3;
}

int copyPhotos(const QStringList& arguments, const QString& programFolder, QTextStream& out,
               QTextStream& err) {
    if (arguments.size() != 2)
        throw BatchUsageError(u"copy-photos にはアルバムファイルとコピー先のフォルダを指定して下さい。"_s);
    const QString& albumPath = arguments.at(0);
    const QString& folder = arguments.at(1);
    Workspace workspace(programFolder);
    readAlbumInto(workspace, albumPath, false);
    OutputGuard guard = photoGuard(workspace.SS1.rows());
    ProgramFiles::keep(guard, workspace).keep(albumPath, OutputGuard::Album);
    const PhotoCopy::Summary summary =
        PhotoCopy::copyRows(workspace.SS1, 1, workspace.AlbumRowCount, folder,
                            workspace.settings.itemIsOn(SettingItem::SplitByHyphen), guard);
    err << lines(summary.text()) << u'\n';
    out << shown(folder) << u": "_s << summary.copied << u" 枚コピーしました\n"_s;
    if (!summary.folderGone.isEmpty()) return 1;
    return summary.complete() ? 0 : 3;
}

int blackboard(const QStringList& photos, const QString&, QTextStream& out, QTextStream& err) {
    if (photos.isEmpty()) throw BatchUsageError(u"blackboard には写真を一つ以上指定して下さい。"_s);
    for (const QString& photo : photos)
        if (!QFileInfo(photo).isFile()) throw AppError(u"写真が見つかりません。\n"_s + shown(photo));
    int without = 0;
    for (const QString& photo : photos) {
        const BlackboardReading reading = BlackboardXmp::read(photo);
        if (!reading.note.isEmpty()) err << shown(photo) << u": "_s << reading.note << u'\n';
        if (!reading.found) {
            err << shown(photo) << u": 黒板情報がありません\n"_s;
            ++without;
            continue;
        }
        for (const BlackboardItem& item : BlackboardXmp::items(reading.blackboard))
            out << shown(photo) << u'\t' << item.name << u'\t' << item.value << u'\n';
    }
    return without == 0 ? 0 : 3;
}

} // namespace

QList<BatchCommand> commands() {
    return {{u"import-csv"_s, ImportCsvUsage, importCsv},
            {u"place"_s, PlaceUsage, place},
            {u"copy-photos"_s, CopyPhotosUsage, copyPhotos},
            {u"blackboard"_s, BlackboardUsage, blackboard}};
}

} // namespace AlbumBatch
