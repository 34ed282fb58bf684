#pragma once

#include <QList>
#include <QObject>

class QAction;
class QMenu;
class frmAddDelete;
class PhotoBrowserPanel;
class Prompts;
class Workspace;

// The "お気に入り(&X)" menu: add the folder shown, go to a bookmark, remove bookmarks.
class BookmarkMenu : public QObject {
    Q_OBJECT
public:
    BookmarkMenu(QMenu* menu, Workspace& workspace, Prompts& prompts, PhotoBrowserPanel& browser);

    // Menu items 1..n for the bookmarks, in order (after start-up loaded them).
    void rebuild();

private:
    void addCurrentFolder();
    void goTo(const QString& path);
    void removeSome();

    QMenu* menu_;
    Workspace& workspace_;
    Prompts& prompts_;
    PhotoBrowserPanel& browser_;
    QAction* mnuBookMark_Del_ = nullptr;
    QList<QAction*> folderItems_;
    frmAddDelete* dialog_ = nullptr;
};
