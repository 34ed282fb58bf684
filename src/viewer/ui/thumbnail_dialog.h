#pragma once

class QWidget;
class Workspace;

// Draws the thumbnails of rows FirstNewRow..LastNewRow into column 1, when thumbnails are on.
void showThumbnailsForNewRows(Workspace& workspace, QWidget* parent);
