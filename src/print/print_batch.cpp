#include "print/print_batch.h"

#include "album/album_file.h"
#include "print/preview_document.h"
#include "print/print_document.h"
#include "print/print_renderer.h"
#include "workspace/program_files.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace PrintBatch {

namespace {

// Photos that could not be read are told as a row that fails before drawing is, one a line; the
// PDF is written with their frames empty.
int writeBuilt(const PrintDocument& document, const QString& pdfPath, QTextStream& out, QTextStream& err) {
    const QList<UnreadPicture> unread = writePdf(document, pdfPath, 1, document.PageCount());
    out << QDir::toNativeSeparators(pdfPath) << u": "_s << document.PageCount() << u" ページ\n"_s;
    for (const UnreadPicture& picture : unread)
        err << picture.text().replace(u'\n', u' ') << u'\n';
    return unread.isEmpty() ? 0 : 3;
}

int albumPdf(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 2)
        throw BatchUsageError(u"pdf にはアルバムファイルと PDF ファイルを指定して下さい。"_s);
    const QString& albumPath = arguments.at(0);
    const QString& pdfPath = arguments.at(1);
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    workspace.SS1.setRows(AlbumFile::load(albumPath, workspace.AlbumMaxRows));
    OutputGuard guard = photoGuard(workspace.SS1.rows());
    ProgramFiles::keep(guard, workspace).keep(albumPath, OutputGuard::Album).check(pdfPath);
    if (workspace.UpdateRowTotal() == 0) {
        err << QDir::toNativeSeparators(albumPath) << u": "_s << SheetGuard::NoDataShort << u'\n';
        return 1;
    }
    PrintDocument document;
    const PreviewDocument::Built built = PreviewDocument::build(document, workspace, PreviewDocument::Album);
    switch (built.album.status) {
    case AlbumPages::Result::Status::CannotPlace:
        err << AlbumPages::CannotPlace << u'\n';
        return 1;
    case AlbumPages::Result::Status::NoFrame:
        err << AlbumPages::NoFrame << u'\n';
        return 1;
    case AlbumPages::Result::Status::RowFailed:
        err << built.album.rowFailure().replace(u'\n', u' ') << u'\n';
        return 1;
    case AlbumPages::Result::Status::Built:
        break;
    }
    return writeBuilt(document, pdfPath, out, err);
}

int labelPdf(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 1) throw BatchUsageError(u"label-pdf には PDF ファイルを指定して下さい。"_s);
    const QString& pdfPath = arguments.at(0);
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    OutputGuard guard;
    ProgramFiles::keep(guard, workspace).check(pdfPath);
    PrintDocument document;
    PreviewDocument::build(document, workspace, PreviewDocument::Label);
    return writeBuilt(document, pdfPath, out, err);
}

} // namespace

QList<BatchCommand> commands() {
    return {{u"pdf"_s,
             u"  tovenla2 pdf ALBUM.dat OUT.pdf\n"
             u"      アルバムの写真帳ページを今の設定で PDF にします。作成中に読めなくなった写真は\n"
             u"      枠を空けて出力し、その行を示して終了コード 3 で終わります。\n"_s,
             albumPdf, true},
            {u"label-pdf"_s,
             u"  tovenla2 label-pdf OUT.pdf\n"
             u"      設定に保存された CD ラベルのページを PDF にします。\n"_s,
             labelPdf, true}};
}

} // namespace PrintBatch
