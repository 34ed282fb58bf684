#include "print/print_batch.h"

#include "album/album_file.h"
#include "app/session.h"
#include "app/workspace.h"
#include "print/preview_document.h"
#include "print/print_document.h"
#include "print/print_renderer.h"

using namespace Qt::StringLiterals;

namespace PrintBatch {

namespace {

int writeBuilt(const PrintDocument& document, const QString& pdfPath, QTextStream& out) {
    writePdf(document, pdfPath, 1, document.PageCount());
    out << pdfPath << u": "_s << document.PageCount() << u" pages\n"_s;
    return 0;
}

} // namespace

int albumPdf(const QString& albumPath, const QString& pdfPath, const QString& programFolder, QTextStream& out,
             QTextStream& err) {
    Workspace workspace(programFolder);
    Session::readSettings(workspace);
    workspace.SS1.setRows(AlbumFile::load(albumPath, workspace.AlbumMaxRows));
    if (workspace.UpdateRowTotal() == 0) {
        err << albumPath << u": 対象データがありません。\n"_s;
        return 1;
    }
    PrintDocument document;
    const PreviewDocument::Built built = PreviewDocument::build(document, workspace, PreviewDocument::Album);
    switch (built.album.status) {
    case AlbumPages::Result::Status::CannotPlace:
        err << AlbumPages::CannotPlace << u'\n';
        return 1;
    case AlbumPages::Result::Status::RowFailed:
        err << u"row "_s << built.album.failedRow << u": "_s
            << QString(built.album.detail).replace(u'\n', u' ') << u"\n"_s;
        return 1;
    case AlbumPages::Result::Status::Built:
        break;
    }
    return writeBuilt(document, pdfPath, out);
}

int labelPdf(const QString& pdfPath, const QString& programFolder, QTextStream& out, QTextStream& err) {
    (void)err;
    Workspace workspace(programFolder);
    Session::readSettings(workspace);
    PrintDocument document;
    PreviewDocument::build(document, workspace, PreviewDocument::Label);
    return writeBuilt(document, pdfPath, out);
}

} // namespace PrintBatch
