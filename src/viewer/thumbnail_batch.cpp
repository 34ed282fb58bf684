#include "viewer/thumbnail_batch.h"

#include "album/album_file.h"
#include "album/photo_folder.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "base/picture_reading.h"
#include "viewer/thumbnail_run.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

QStringList photosOfAlbum(const QString& albumPath, const QString& programFolder) {
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    QStringList photos;
    QSet<QString> seen;
    for (const AlbumRow& row : AlbumFile::load(albumPath, ProgramFiles::capacityFromSettings(workspace))) {
        if (row.path.isEmpty() || seen.contains(row.path)) continue;
        seen.insert(row.path);
        photos << row.path;
    }
    return photos;
}

// A folder stands for its pictures, as place takes it.
QStringList photosOfInputs(const QStringList& inputs) {
    QStringList photos;
    for (const QString& input : inputs)
        if (QFileInfo(input).isDir())
            photos << PhotoFolder::picturePaths(
                QDir::toNativeSeparators(QFileInfo(input).absoluteFilePath()));
        else
            photos << input;
    return photos;
}

} // namespace

bool isAlbumInput(const QStringList& inputs) {
    return inputs.size() == 1 && inputs.first().endsWith(u".dat"_s, Qt::CaseInsensitive);
}

int runThumbnailBatch(const QStringList& inputs, const QString& programFolder, QTextStream& err) {
    const QStringList photos =
        isAlbumInput(inputs) ? photosOfAlbum(inputs.first(), programFolder) : photosOfInputs(inputs);

    Thumbnailer thumbnailer;
    ThumbnailRun run(thumbnailer, photos, [](Thumbnailer& maker, const QString& path, PendingShare&) {
        return maker.refreshShared(path);
    });
    QMutex lock;
    int done = 0, made = 0, current = 0, leftOut = 0, notKept = 0;
    QString firstNotKept;
    const int total = int(photos.size());
    QObject::connect(
        &run, &ThumbnailRun::ready, &run,
        [&](int index, const Thumbnail& thumbnail) {
            QMutexLocker locked(&lock);
            ++done;
            const QString& photo = photos.at(index);
            if (thumbnail.leftOut()) {
                ++leftOut;
                err << QDir::toNativeSeparators(photo) << u": "_s << PictureReading::reason(photo) << u'\n';
            } else if (thumbnail.shareFailed) {
                if (notKept++ == 0) firstNotKept = photo;
            } else {
                ++(thumbnail.source == Thumbnail::Source::Decoded ? made : current);
            }
            // About ten progress lines however long the list.
            if (done == total || done % std::max(total / 10, 1) == 0)
                err << done << u'/' << total << u" 枚\n"_s;
            err.flush();
        },
        Qt::DirectConnection);
    run.start();
    run.waitForDone();

    const QString root = QDir::toNativeSeparators(thumbnailer.shared().root());
    err << u"サムネイルを作成: "_s << made << u" 枚、作成済み: "_s << current << u" 枚、対象外: "_s << leftOut
        << u" 枚（キャッシュ: "_s << root << u"）\n"_s;
    if (notKept > 0) {
        const QString entry = thumbnailer.shared().entryPath(QFileInfo(firstNotKept).absoluteFilePath(),
                                                             SharedThumbnailCache::Flavour::Large);
        err << u"サムネイルのキャッシュに書き込めませんでした: "_s << notKept << u" 枚\n"_s << root << u'\n'
            << writeFailureReason(entry) << u'\n';
    }
    err.flush();
    if (notKept > 0) return 1;
    return leftOut > 0 ? 3 : 0;
}

namespace ViewerBatch {

namespace {

int thumbnails(const QStringList& arguments, const QString& programFolder, QTextStream&, QTextStream& err) {
    if (arguments.isEmpty())
        throw BatchUsageError(u"thumbnails にはアルバムファイルか写真かフォルダを指定して下さい。"_s);
    return runThumbnailBatch(arguments, programFolder, err);
}

} // namespace

QList<BatchCommand> commands() {
    return {
        {u"thumbnails"_s,
         u"  tovenla2 thumbnails ALBUM.dat|PHOTO|FOLDER...\n"
         u"      "
         u"アルバムの写真（または指定した写真、フォルダの中の画像）のサムネイルを作り、デスクトップと共有の\n"
         u"      キャッシュに入れます。\n"_s,
         thumbnails}};
}

} // namespace ViewerBatch
