#include "print/preview_document.h"

#include "print/label_pages.h"
#include "print/print_document.h"
#include "workspace/workspace.h"

namespace PreviewDocument {

Built build(PrintDocument& document, const Workspace& workspace, Kind kind) {
    Built built;
    built.job = setUpDocument(document, workspace.settings, workspace.DefaultPrinter);
    document.setZoom(30);
    if (kind == Label) {
        LabelPages::out_Label(document, workspace.settings);
    } else {
        const AlbumLayout layout = AlbumLayout::fromSettings(workspace.settings);
        built.album.status = AlbumPages::refusal(layout);
        if (built.album.status != AlbumPages::Result::Status::Built) return built;
        document.StartDoc();
        built.album = AlbumPages::out1(document, layout, workspace.SS1, workspace.AlbumRowCount);
        // A failing row keeps the pages built before it on show.
        document.EndDoc();
    }
    document.setZoom(70);
    built.job.PrintFromPage = 1;
    built.job.PrintToPage = document.PageCount();
    return built;
}

} // namespace PreviewDocument
