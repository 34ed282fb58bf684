#include "album/ui/bookmark_menu.h"

#include "album/ui/bookmark_dialog.h"
#include "album/ui/photo_browser_panel.h"
#include "base/prompts.h"
#include "workspace/bookmarks.h"
#include "workspace/workspace.h"

#include <QFileInfo>
#include <QMenu>

using namespace Qt::StringLiterals;

BookmarkMenu::BookmarkMenu(QMenu* menu, Workspace& workspace, Prompts& prompts, PhotoBrowserPanel& browser)
    : QObject(menu), menu_(menu), workspace_(workspace), prompts_(prompts), browser_(browser) {
    QAction* add = menu->addAction(u"このフォルダのパスを登録(&A)"_s);
    add->setObjectName(u"mnuBookMark_Add"_s);
    mnuBookMark_Del_ = menu->addAction(u"フォルダのパスを削除(&D)..."_s);
    mnuBookMark_Del_->setObjectName(u"mnuBookMark_Del"_s);
    menu->addSeparator();

    connect(add, &QAction::triggered, this, &BookmarkMenu::addCurrentFolder);
    connect(mnuBookMark_Del_, &QAction::triggered, this, &BookmarkMenu::removeSome);
    connect(menu, &QMenu::aboutToShow, this,
            [this] { mnuBookMark_Del_->setEnabled(!workspace_.Bookmarks.isEmpty()); });
    rebuild();
}

void BookmarkMenu::rebuild() {
    qDeleteAll(folderItems_);
    folderItems_.clear();
    for (const QString& path : workspace_.Bookmarks.paths()) {
        auto* item = new QAction(QString(path).replace(u'&', u"&&"_s), menu_);
        item->setObjectName(u"mnuBookMark_Fold"_s);
        connect(item, &QAction::triggered, this, [this, path] { goTo(path); });
        menu_->addAction(item);
        folderItems_ << item;
    }
    mnuBookMark_Del_->setEnabled(!workspace_.Bookmarks.isEmpty());
}

void BookmarkMenu::addCurrentFolder() {
    if (!workspace_.Bookmarks.add(browser_.folder()))
        prompts_.tell(FolderBookmarks::AlreadyPresent, u"確認"_s, Prompts::Icon::Exclamation);
    rebuild();
}

void BookmarkMenu::goTo(const QString& path) {
    if (!FolderBookmarks::isUsable(path) || !QFileInfo(path).isDir() || !browser_.setFolder(path))
        prompts_.tell(FolderBookmarks::PathMissing, u"確認"_s, Prompts::Icon::Critical);
}

void BookmarkMenu::removeSome() {
    if (!dialog_) dialog_ = new frmAddDelete(workspace_.Bookmarks, menu_->parentWidget());
    if (dialog_->exec() == QDialog::Accepted) rebuild();
}
