#pragma once

class QWidget;
class Workspace;

// Makes the thumbnails of rows FirstNewRow..LastNewRow, showing its progress dialog.
void showThumbnailsForNewRows(Workspace& workspace, QWidget* parent);
