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

int run(const QStringList& albums, const QString& folder, const QString& programFolder, QTextStream& out,
        QTextStream& err) {
    try {
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
    } catch (const AppError& error) {
        err << error.message() << u'\n';
        return 1;
    }
}

} // namespace DeliveryBatch
