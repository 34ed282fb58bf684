#pragma once

#include "print/album_pages.h"
#include "print/print_setup.h"

class PrintDocument;
class Workspace;

// What the preview window builds when it opens: album pages or the CD label page, on a
// document set up from the settings.
namespace PreviewDocument {

enum Kind : int { Album = 0, Label = 1 };

struct Built {
    PrintJob job;
    AlbumPages::Result album; // Built for label pages
};

// Album rows are read from the workspace's sheet, 1..AlbumRowCount.
Built build(PrintDocument& document, const Workspace& workspace, Kind kind);

} // namespace PreviewDocument
