#include "delivery/delivery_batch.h"

#include "album/album_file.h"
#include "app/app_error.h"
#include "app/session.h"
#include "app/template_file.h"
#include "app/workspace.h"
#include "delivery/delivery_export.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace DeliveryBatch {

namespace {

int deliver(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    const qsizetype to = arguments.indexOf(u"--to"_s);
    if (to < 1 || to != arguments.size() - 2)
        throw BatchUsageError(u"deliver にはアルバムファイルと出力先フォルダを指定して下さい。"_s);
    const QStringList albums = arguments.mid(0, to);
    const QString& folder = arguments.last();
    Workspace workspace(programFolder);
    Session::readSettings(workspace);
    DeliveryRequest request;
    request.maxRows = workspace.AlbumMaxRows;
    request.sheetRows = AlbumFile::load(albums.first(), request.maxRows);
    request.listedAlbums = albums.mid(1);
    request.folder = folder;
    request.dtdPath = findTemplate(programFolder, DeliveryExport::DtdName);
    const DeliveryResult result = DeliveryExport::run(request);
    out << QDir::toNativeSeparators(QDir(folder).filePath(DeliveryExport::FolderName)) << u": "_s
        << result.photoCount << u" 枚\n"_s;
    if (!result.leftoverFolder.isEmpty())
        err << u"以前の PHOTO フォルダを削除できなかったため、次の場所に残っています:\n"_s
            << QDir::toNativeSeparators(result.leftoverFolder) << u'\n';
    return 0;
}

} // namespace

QList<BatchCommand> commands() {
    return {{u"deliver"_s,
             u"  tovenla2 deliver ALBUM.dat [MORE.dat ...] --to FOLDER\n"
             u"      FOLDER に電子納品の PHOTO フォルダ（写真、PHOTO03.DTD、PHOTO.XML）を作ります。\n"_s,
             deliver}};
}

} // namespace DeliveryBatch
