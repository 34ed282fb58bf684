#pragma once

#include "album/photo_placement.h"

#include <QObject>

class QPushButton;
class QTableView;
class PhotoBrowserPanel;
class Prompts;
class Workspace;

namespace PhotoPlacementUi {

// ">>": the browser's selected files from the sheet's cursor row. While it runs only the
// stop button reacts; a press ends the run after the current row.
PhotoPlacement::Result placeFromBrowser(Workspace& workspace, Prompts& prompts, PhotoBrowserPanel& browser,
                                        QTableView& sheet, QPushButton& stopButton);

} // namespace PhotoPlacementUi

// Takes files dropped from the file manager on the sheet and places them from the row under
// the drop point.
class SheetDropTarget : public QObject {
    Q_OBJECT
public:
    SheetDropTarget(QTableView& sheet, Workspace& workspace, Prompts& prompts);

Q_SIGNALS:
    void thumbnailsDue();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView& sheet_;
    Workspace& workspace_;
    Prompts& prompts_;
};
