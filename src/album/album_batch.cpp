#include "album/album_batch.h"

#include "album/album_commands.h"
#include "album/album_file.h"
#include "album/photo_copy.h"
#include "album/photo_folder.h"
#include "album/photo_paths.h"
#include "album/photo_placement.h"
#include "app/app_error.h"
#include "app/session.h"
#include "app/workspace.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace AlbumBatch {

const QString Usage =
    u"  tovenla2 place ALBUM.dat [--row N] PHOTO|FOLDER...\n"
    u"                                          put photos on rows from row N (default: after\n"
    u"                                          the last row); a folder gives its pictures in\n"
    u"                                          name order; the album is created when missing\n"
    u"  tovenla2 copy-photos ALBUM.dat FOLDER   copy the album's photos into FOLDER under names\n"
    u"                                          made from their information\n"_s;

namespace {

bool invalid(CommandLine& result, const QString& error) {
    result.mode = CommandLine::Mode::Invalid;
    result.error = error;
    return true;
}

bool parsePlace(const QStringList& arguments, CommandLine& result) {
    if (arguments.size() < 3)
        return invalid(result, u"place needs an album file and photos: place ALBUM.dat PHOTO..."_s);
    result.mode = CommandLine::Mode::Place;
    result.albumPath = arguments.at(1);
    qsizetype next = 2;
    if (arguments.at(2) == u"--row"_s) {
        bool ok = false;
        result.startRow = arguments.size() > 3 ? arguments.at(3).toInt(&ok) : 0;
        if (!ok || result.startRow < 1) return invalid(result, u"--row needs a row number of 1 or more"_s);
        next = 4;
    }
    result.photoPaths = arguments.mid(next);
    if (result.photoPaths.isEmpty()) return invalid(result, u"place needs at least one photo or folder"_s);
    return true;
}

Workspace& loadAlbum(Workspace& workspace, const QString& path, bool mayBeMissing) {
    Session::readSettings(workspace);
    if (!mayBeMissing || QFileInfo::exists(path))
        workspace.SS1.setRows(AlbumFile::load(path, workspace.AlbumMaxRows));
    workspace.UpdateRowTotal();
    return workspace;
}

// Folders become their pictures in name order; files must be pictures of the list's pattern.
QStringList photosToPlace(const QStringList& items, QStringList& leftOut) {
    QStringList photos;
    for (const QString& item : items) {
        const QFileInfo info(item);
        const QString path = QDir::toNativeSeparators(info.absoluteFilePath());
        if (info.isDir()) {
            for (const QString& name : PhotoFolder::pictures(path))
                photos << PhotoPaths::join(path, name);
        } else if (!info.exists()) {
            throw AppError(u"photo not found: "_s + item);
        } else if (PhotoFolder::isPictureName(info.fileName())) {
            photos << path;
        } else {
            leftOut << item;
        }
    }
    return photos;
}

int place(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    Workspace workspace(programFolder);
    loadAlbum(workspace, command.albumPath, true);
    QStringList leftOut;
    const QStringList photos = photosToPlace(command.photoPaths, leftOut);
    const int startRow = command.startRow > 0 ? command.startRow : workspace.AlbumRowCount + 1;

    const PhotoPlacement::Result result = PhotoPlacement::placePaths(workspace, u"place"_s, photos, startRow);
    AlbumFile::save(command.albumPath, workspace.SS1.rows());
    out << command.albumPath << u": "_s << result.placed << u" photos placed";
    if (result.placed > 0) out << u" on rows "_s << workspace.FirstNewRow << u'-' << workspace.LastNewRow;
    out << u'\n';
    for (const QString& item : leftOut)
        err << u"not a picture of the file list (*.bmp *.gif *.jpeg *.jpg *.ico *.cur), left out: "_s << item
            << u'\n';
    if (result.capacityReached)
        err << AlbumCommands::CapacityExceeded << u" "_s << photos.size() - result.placed
            << u" photos beyond the capacity of "_s << workspace.AlbumMaxRows << u" rows were left out.\n"_s;
    return leftOut.isEmpty() && !result.capacityReached ? 0 : 3;
}

int copyPhotos(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    Workspace workspace(programFolder);
    loadAlbum(workspace, command.albumPath, false);
    if (!QDir().mkpath(command.outputPath))
        throw AppError(u"cannot create the folder "_s + command.outputPath);
    const PhotoCopy::Summary summary =
        PhotoCopy::copyRows(workspace.SS1, 1, workspace.AlbumRowCount, command.outputPath,
                            workspace.settings.itemIsOn(SettingItem::SplitByHyphen));
    err << summary.text() << u'\n';
    out << command.outputPath << u": "_s << summary.copied << u" photos copied\n"_s;
    return summary.complete() ? 0 : 3;
}

} // namespace

bool parse(const QStringList& arguments, CommandLine& result) {
    const QString& first = arguments.first();
    if (first == u"place"_s) return parsePlace(arguments, result);
    if (first != u"copy-photos"_s) return false;
    if (arguments.size() != 3)
        return invalid(result,
                       u"copy-photos needs an album file and a folder: copy-photos ALBUM.dat FOLDER"_s);
    result.mode = CommandLine::Mode::CopyPhotos;
    result.albumPath = arguments.at(1);
    result.outputPath = arguments.at(2);
    return true;
}

int run(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    if (command.mode == CommandLine::Mode::Place) return place(command, programFolder, out, err);
    return copyPhotos(command, programFolder, out, err);
}

} // namespace AlbumBatch
