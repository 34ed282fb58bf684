#pragma once

#include <QMainWindow>
#include <QPointer>

#include "album/ui/photo_info_dialog.h"
#include "settings/ui/phrase_dialog.h"
#include "survey/ui/classified_import_dialog.h"
#include "viewer/thumbnailer.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class BookmarkMenu;
class PhotoBrowserPanel;
class Prompts;
class frmAbout;
class frmFullScreen;
class Workspace;

// The main window: the album sheet and the buttons that start every command.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    // Start-up after the single-instance check; albumPath may be empty. The album's thumbnails
    // are made once the event loop runs, with the window shown.
    void startUp(const QString& albumPath);

    QTableView* sheetView() const { return SS1_; }
    frmPIC* infoDialog() const { return infoDialog_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // A command button of the window: its given name, caption, tip and handler.
    struct CommandButton {
        const char* name;
        QString caption;
        QString toolTip;
        void (frmMain::*handler)();
    };

    QWidget* buildButtonRows();
    void buildMenus();
    void buildStatusBar();
    void sizeSheet();
    QPushButton* addButton(const char* name, const QString& caption, const QString& toolTip);
    // The thumbnails of FirstNewRow..LastNewRow, made by the window's own thumbnailer.
    void showThumbnails();
    void classifiedRowsImported();

    void clearSelectedCells();
    void CMDnew_Click();
    void CMDload_Click();
    void CMDsave_Click();
    void Command7_Click();
    void Command1_Click();
    void CMDin_Click();
    void CMDFCP_Click();
    int cursorRow() const;
    void sheetClicked(const QModelIndex& index);
    void openInfoDialog(int row);
    void CMDIns_Click();
    void CMDDel_Click();
    void CMDSort_Click();
    void Command4_Click();
    void Command8_Click();
    // The full-screen view of a photo; nothing when the path is empty or names no file.
    void showFullScreen(const QString& path);
    void CMDout_Click();
    void Command2_Click();
    void CMDXML_Click();
    void CMDEXL_Click();
    void Command3_Click();
    void Command5_Click();
    template <class Dialog> void runReportDialog();
    void Command6_Click();
    void Command9_Click();
    void Command10_Click();
    void CMDend_Click();

    Workspace& workspace_;
    Prompts& prompts_;
    QTableView* SS1_ = nullptr;
    PhotoBrowserPanel* browser_ = nullptr;
    BookmarkMenu* bookmarkMenu_ = nullptr;
    QCheckBox* Check1_ = nullptr;
    QPushButton* cmdCancel_ = nullptr; // placement's 中止, shown only while photos are placed
    QLabel* panels_[4] = {};
    bool shutDownDone_ = false;
    QPointer<frmPIC> infoDialog_;
    QPointer<MOJDialog> phraseDialog_;
    QPointer<DialogImp> importDialog_;
    frmFullScreen* fullScreen_ = nullptr; // kept for the whole run, hidden between uses
    frmAbout* about_ = nullptr;
    // One memory cache for the whole run, so that a reorder or an import after a placement
    // draws the same photos without decoding them again.
    Thumbnailer thumbnailer_;
};
