#include "shell/ui/main_window.h"

#include "album/album_commands.h"
#include "album/blackboard_lines.h"
#include "album/row_editing.h"
#include "album/ui/bookmark_menu.h"
#include "album/ui/photo_browser_panel.h"
#include "album/ui/photo_copy_dialog.h"
#include "album/ui/photo_info_dialog.h"
#include "album/ui/photo_placement_ui.h"
#include "base/photo_file.h"
#include "base/picture_limit.h"
#include "base/prompts.h"
#include "delivery/ui/delivery_dialog.h"
#include "excel/ui/album_excel_dialog.h"
#include "excel/ui/field_report_dialog.h"
#include "excel/ui/point_record_dialog.h"
#include "print/preview_document.h"
#include "print/ui/preview_window.h"
#include "settings/ui/phrase_dialog.h"
#include "settings/ui/settings_dialog.h"
#include "shell/session.h"
#include "shell/ui/flow_layout.h"
#include "shell/ui/info_cell_delegate.h"
#include "survey/classified_commands.h"
#include "survey/ui/parcel_import_dialog.h"
#include "survey/ui/parcel_list_dialog.h"
#include "viewer/ui/about_box.h"
#include "viewer/ui/full_screen_viewer.h"
#include "viewer/ui/thumbnail_dialog.h"
#include "workspace/sheet_guard.h"
#include "workspace/workspace.h"
#include "xlsx/ui/desktop_opener.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include <new>

using namespace Qt::StringLiterals;

namespace {

// Sheet geometry in the units the album layout is given in: widths in characters, heights
// in points.
constexpr double ColumnWidths[] = {14.88, 20.5, 3.5, 23.12};
constexpr double DataRowHeight = 60;
constexpr double HeaderRowHeight = 10.23;

} // namespace

frmMain::frmMain(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"frmMain"_s);
    setWindowTitle(u"Tovenla2"_s);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    browser_ = new PhotoBrowserPanel(workspace_, prompts_, central);
    Check1_ = browser_->previewCheck();
    layout->addWidget(browser_);

    auto* CMDin = addButton("CMDin", u">>"_s, u"このボタンで現在のカーソル行から写真をセットします"_s);
    connect(CMDin, &QPushButton::clicked, this, &frmMain::CMDin_Click);
    CMDin->setFixedWidth(CMDin->fontMetrics().horizontalAdvance(u">>>>"_s) + 12);
    layout->addWidget(CMDin, 0, Qt::AlignVCenter);

    auto* right = new QVBoxLayout;
    right->addWidget(buildButtonRows());
    SS1_ = new QTableView(central);
    SS1_->setObjectName(u"SS1"_s);
    SS1_->setModel(&workspace_.SS1);
    SS1_->setItemDelegateForColumn(AlbumColumn::Info - 1, new InfoCellDelegate(SS1_));
    SS1_->setWordWrap(false);
    // One block of rows at a time: 行削除 names its first and last row and deletes all between.
    SS1_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Clicks are commands here (information, numbering, full-screen view); keys edit in place.
    SS1_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    connect(SS1_, &QTableView::clicked, this, &frmMain::sheetClicked);
    connect(SS1_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() + 1 == AlbumColumn::Picture)
            showFullScreen(workspace_.SS1.text(index.row() + 1, AlbumColumn::Path));
    });
    right->addWidget(SS1_, 1);
    layout->addLayout(right, 1);
    setCentralWidget(central);

    fullScreen_ = new frmFullScreen(this);
    about_ = new frmAbout(this);
    connect(browser_, &PhotoBrowserPanel::fileOpened, this, &frmMain::showFullScreen);

    buildMenus();
    buildStatusBar();
    sizeSheet();

    // Delete empties the selected cells, as one command that can be undone.
    auto* clear = new QShortcut(QKeySequence::Delete, SS1_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(clear, &QShortcut::activated, this, &frmMain::clearSelectedCells);
    // Enter on an information cell opens the information dialog, as a click does.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)}) {
        auto* open = new QShortcut(key, SS1_, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] {
            if (SS1_->currentIndex().column() + 1 == AlbumColumn::Info) openInfoDialog(cursorRow());
        });
    }

    connect(&workspace_, &Workspace::rowTotalChanged, panels_[3], &QLabel::setText);
    connect(browser_, &PhotoBrowserPanel::fileCountChanged, panels_[2], &QLabel::setText);
    connect(new SheetDropTarget(*SS1_, workspace_, prompts_), &SheetDropTarget::thumbnailsDue, this,
            [this] { showThumbnails(); });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(1280, screen.width() * 9 / 10), std::min(860, screen.height() * 9 / 10));
}

QPushButton* frmMain::addButton(const char* name, const QString& caption, const QString& toolTip) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    if (!toolTip.isEmpty()) button->setToolTip(toolTip);
    return button;
}

QWidget* frmMain::buildButtonRows() {
    const QList<CommandButton> firstRow = {
        {"CMDnew", u"新規"_s, u"新規入力"_s, &frmMain::CMDnew_Click},
        {"CMDload", u"呼出"_s, u"入力ファイルを呼び出します"_s, &frmMain::CMDload_Click},
        {"CMDsave", u"保存"_s, u"現在のシート内容を保存します"_s, &frmMain::CMDsave_Click},
        {"Command7", u"Import2"_s, u"特殊処理2"_s, &frmMain::Command7_Click},
        {"CMDIns", u"行挿入"_s, u"選択行の上に１行を挿入します"_s, &frmMain::CMDIns_Click},
        {"CMDDel", u"行削除"_s, u"選択行を削除します"_s, &frmMain::CMDDel_Click},
        {"CMDSort", u"並替"_s, u"連番通りに行を並べ替えます"_s, &frmMain::CMDSort_Click},
        {"Command4", u"点名順"_s, u"情報の1行目で行をソートします"_s, &frmMain::Command4_Click},
        {"CMDFCP", u"COPY"_s, u"規則に従ってファイル名を一括変更"_s, &frmMain::CMDFCP_Click},
    };
    const QList<CommandButton> secondRow = {
        {"CMDout", u"印刷"_s, u"写真帳を印刷します"_s, &frmMain::CMDout_Click},
        {"Command1", u"プリンタ設定"_s, u"プリンタの設定"_s, &frmMain::Command1_Click},
        {"Command2", u"条件"_s, u"各種条件を設定します"_s, &frmMain::Command2_Click},
        {"Command8", u"文字列"_s, u"文字列を登録できます"_s, &frmMain::Command8_Click},
        {"CMDEXL", u"写真帳"_s, u"標準写真帳EXCEL出力"_s, &frmMain::CMDEXL_Click},
        {"Command5", u"現踏査"_s, u"都市再生関連出力"_s, &frmMain::Command5_Click},
        {"Command3", u"点の記"_s, u"４級点の記の作成"_s, &frmMain::Command3_Click},
        {"CMDXML", u"XML"_s, u"電子納品・ラベル処理"_s, &frmMain::CMDXML_Click},
        {"Command6", u"Import1"_s, u"特殊処理1"_s, &frmMain::Command6_Click},
        {"Command9", u"Import3"_s, {}, &frmMain::Command9_Click},
        {"Command10", u"Import4"_s, {}, &frmMain::Command10_Click},
        {"CMDend", u"終了"_s, u"終了します"_s, &frmMain::CMDend_Click},
    };

    // Each row of buttons wraps onto a further line on a narrow screen.
    auto* rows = new QWidget(this);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto* entries : {&firstRow, &secondRow}) {
        auto* row = new QWidget(rows);
        auto* flow = new FlowLayout(row);
        for (const CommandButton& entry : *entries) {
            QPushButton* button = addButton(entry.name, entry.caption, entry.toolTip);
            connect(button, &QPushButton::clicked, this, entry.handler);
            flow->addWidget(button);
        }
        // Placement connects its own 中止 while it runs; hidden otherwise.
        if (entries == &firstRow) {
            cmdCancel_ = addButton("cmdCancel", u"中止(&S)"_s, {});
            cmdCancel_->hide();
            flow->addWidget(cmdCancel_);
        }
        layout->addWidget(row);
    }
    return rows;
}

void frmMain::buildMenus() {
    QMenu* edit = menuBar()->addMenu(u"編集(&E)"_s);
    edit->setObjectName(u"mnuEdit"_s);
    QAction* undo = workspace_.undoStack.createUndoAction(this, u"元に戻す"_s);
    undo->setObjectName(u"mnuEdit_Undo"_s);
    undo->setShortcuts(QKeySequence::Undo);
    QAction* redo = workspace_.undoStack.createRedoAction(this, u"やり直し"_s);
    redo->setObjectName(u"mnuEdit_Redo"_s);
    redo->setShortcuts({QKeySequence(u"Ctrl+Shift+Z"_s), QKeySequence(u"Ctrl+Y"_s)});
    edit->addAction(undo);
    edit->addAction(redo);
    // Rows selected by their headers, else every row.
    QAction* blackboard = edit->addAction(BlackboardLines::CommandName);
    blackboard->setObjectName(u"mnuEdit_Blackboard"_s);
    connect(blackboard, &QAction::triggered, this, [this] {
        QList<int> rows;
        for (const QModelIndex& index : SS1_->selectionModel()->selectedRows())
            rows << index.row() + 1;
        BlackboardLines::importFromPhotos(workspace_, prompts_, rows);
    });

    QMenu* bookmarks = menuBar()->addMenu(u"お気に入り(&X)"_s);
    bookmarks->setObjectName(u"mnuBookMark"_s);
    bookmarkMenu_ = new BookmarkMenu(bookmarks, workspace_, prompts_, *browser_);

    QMenu* help = menuBar()->addMenu(u"ヘルプ(&H)"_s);
    help->setObjectName(u"mnuHelp"_s);
    QAction* about = help->addAction(u"バージョン情報(&A)"_s);
    about->setObjectName(u"mnuHelp_About"_s);
    connect(about, &QAction::triggered, this, [this] { about_->exec(); });
}

void frmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"STB1"_s);
    const int stretches[] = {3, 1, 1, 1};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(bar);
        panels_[i]->setObjectName(u"STB1Panel"_s + QString::number(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(panels_[i], stretches[i]);
    }
    panels_[3]->setText(Workspace::rowTotalText(workspace_.AlbumRowCount));
}

void frmMain::sizeSheet() {
    const QFontMetrics metrics = SS1_->fontMetrics();
    const double characterWidth = metrics.horizontalAdvance(u'0');
    for (int c = 0; c < AlbumColumn::Count; ++c)
        SS1_->setColumnWidth(c, int(ColumnWidths[c] * characterWidth + 10));
    const double pixelsPerPoint = logicalDpiY() / 72.0;
    QHeaderView* rowsHeader = SS1_->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(int(DataRowHeight * pixelsPerPoint));
    SS1_->horizontalHeader()->setFixedHeight(
        std::max(int(HeaderRowHeight * pixelsPerPoint), metrics.height() + 8));
    SS1_->horizontalHeader()->setStretchLastSection(true);
}

void frmMain::startUp(const QString& albumPath) {
    browser_->start();
    Session::startUp(workspace_, prompts_, albumPath);
    bookmarkMenu_->rebuild();
    Check1_->setChecked(workspace_.settings.itemIsOn(SettingItem::ShowFilePreview));
    // The album's thumbnails are made once the window is on the screen with the album in it,
    // as after 呼出, so that the first rows' pictures come in sight while the rest are made.
    if (!albumPath.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { showThumbnails(); }, Qt::QueuedConnection);
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A cell still being typed in keeps its text: taking the focus back commits the editor.
    if (QWidget* focus = QApplication::focusWidget(); focus && focus != SS1_ && SS1_->isAncestorOf(focus))
        SS1_->setFocus();
    if (!shutDownDone_) {
        Session::shutDown(workspace_, prompts_, Check1_->isChecked());
        shutDownDone_ = true;
    }
    event->accept();
}

void frmMain::clearSelectedCells() {
    QList<QPoint> cells;
    for (const QModelIndex& index : SS1_->selectionModel()->selectedIndexes())
        cells << QPoint(index.row() + 1, index.column() + 1);
    workspace_.clearCells(cells);
}

void frmMain::CMDnew_Click() {
    AlbumCommands::NewAlbum(workspace_, prompts_);
    SS1_->setFocus();
    SS1_->scrollTo(SS1_->currentIndex().isValid() ? SS1_->currentIndex() : workspace_.SS1.index(0, 0));
}

void frmMain::CMDload_Click() {
    if (!AlbumCommands::LoadAlbum(workspace_, prompts_)) return;
    showThumbnails();
    SS1_->setFocus();
}

void frmMain::CMDsave_Click() {
    AlbumCommands::SaveAlbum(workspace_, prompts_);
}

void frmMain::Command7_Click() {
    if (!AlbumCommands::ImportCsvList(workspace_, prompts_)) return;
    showThumbnails();
    activateWindow();
}

void frmMain::CMDout_Click() {
    SS1_->setFocus();
    if (!SheetGuard::SheetHasData(workspace_, prompts_, SheetGuard::Text::Short)) return;
    PVIEW(workspace_, prompts_, PreviewDocument::Album, this).exec();
}

void frmMain::Command2_Click() {
    frmJoken(workspace_, prompts_, this).exec();
}

void frmMain::Command1_Click() {
    if (const auto printer = prompts_.printerSetup(workspace_.DefaultPrinter))
        workspace_.DefaultPrinter = *printer;
}

void frmMain::CMDin_Click() {
    if (PhotoPlacementUi::placeFromBrowser(workspace_, prompts_, *browser_, *SS1_, *cmdCancel_).thumbnailsDue)
        showThumbnails();
}

void frmMain::CMDFCP_Click() {
    PhotoCopyCommand::CopyAllPhotos(workspace_, prompts_, this,
                                    [this](const QString& text) { panels_[0]->setText(text); });
}

int frmMain::cursorRow() const {
    return SS1_->currentIndex().isValid() ? SS1_->currentIndex().row() + 1 : 1;
}

void frmMain::sheetClicked(const QModelIndex& index) {
    if (index.column() + 1 == AlbumColumn::Info) openInfoDialog(index.row() + 1);
    if (index.column() + 1 == AlbumColumn::Number) RowEditing::NumberByClick(workspace_, index.row() + 1);
}

void frmMain::openInfoDialog(int row) {
    // One dialog at a time; it keeps the row it was opened for.
    if (!infoDialog_) {
        infoDialog_ = new frmPIC(workspace_, prompts_, row, this);
        infoDialog_->show();
    }
    infoDialog_->raise();
    infoDialog_->activateWindow();
}

void frmMain::CMDIns_Click() {
    SS1_->setFocus();
    RowEditing::InsertRow(workspace_, prompts_, cursorRow());
}

void frmMain::CMDDel_Click() {
    SS1_->setFocus();
    int first = cursorRow();
    int last = first;
    const QModelIndexList selected = SS1_->selectionModel()->selectedIndexes();
    if (!selected.isEmpty()) {
        first = last = selected.constFirst().row() + 1;
        for (const QModelIndex& index : selected) {
            first = std::min(first, index.row() + 1);
            last = std::max(last, index.row() + 1);
        }
    }
    RowEditing::DeleteRows(workspace_, prompts_, first, last);
}

void frmMain::CMDSort_Click() {
    SS1_->setFocus();
    const QList<int> rows = RowEditing::ReorderByNumber(workspace_, prompts_);
    if (rows.isEmpty()) return;
    // One progress dialog over the rows that received a photo, not one a row.
    workspace_.FirstNewRow = *std::min_element(rows.begin(), rows.end());
    workspace_.LastNewRow = *std::max_element(rows.begin(), rows.end());
    showThumbnails();
}

void frmMain::Command4_Click() {
    RowEditing::NumberByFirstLine(workspace_);
}

void frmMain::Command8_Click() {
    if (!phraseDialog_) {
        phraseDialog_ = new MOJDialog(workspace_, prompts_, this);
        phraseDialog_->show();
    }
    phraseDialog_->raise();
    phraseDialog_->activateWindow();
}

void frmMain::showFullScreen(const QString& path) {
    if (path.isEmpty() || !QFileInfo(PhotoFile::resolve(path)).isFile()) return;
    bool tooLarge = false;
    {
        BusyScope busy(prompts_);
        if (fullScreen_->showPhoto(path, &tooLarge)) return;
    }
    if (tooLarge)
        prompts_.tell(QDir::toNativeSeparators(path) + u"\n"_s + PictureLimit::TooLarge + u"。"_s, u"確認"_s,
                      Prompts::Icon::Exclamation);
}

void frmMain::CMDXML_Click() {
    if (!SheetGuard::SheetHasData(workspace_, prompts_, SheetGuard::Text::Short)) return;
    frmXML dialog(workspace_, prompts_, this);
    dialog.exec();
}

// The three workbook report dialogs: a bad photo moves the album's cursor to its file name.
template <class Dialog> void frmMain::runReportDialog() {
    if (!SheetGuard::SheetHasData(workspace_, prompts_)) return;
    DesktopOpener opener;
    Dialog dialog(workspace_, prompts_, opener, this);
    connect(&dialog, &ReportDialog::photoRowFailed, this,
            [this](int row) { SS1_->setCurrentIndex(workspace_.SS1.index(row - 1, AlbumColumn::Path - 1)); });
    dialog.exec();
}

void frmMain::CMDEXL_Click() {
    runReportDialog<EXOUTDialog>();
}

void frmMain::Command5_Click() {
    runReportDialog<DialogGentou>();
}

void frmMain::Command3_Click() {
    runReportDialog<DialogTen4>();
}

void frmMain::Command6_Click() {
    if (!ClassifiedCommands::StartImport1(workspace_, prompts_)) return;
    // One window at a time; it stays open beside the album.
    if (!importDialog_) {
        importDialog_ = new DialogImp(workspace_, prompts_, this);
        connect(importDialog_, &DialogImp::rowsImported, this, &frmMain::classifiedRowsImported);
        importDialog_->show();
    }
    importDialog_->raise();
    importDialog_->activateWindow();
}

void frmMain::classifiedRowsImported() {
    try {
        showThumbnails();
    } catch (const std::bad_alloc&) {
        QApplication::restoreOverrideCursor();
        prompts_.tell(ClassifiedCommands::ThumbnailFailure, ClassifiedCommands::ConfirmTitle,
                      Prompts::Icon::Critical);
    }
}

void frmMain::Command9_Click() {
    if (runParcelImport(workspace_, prompts_, this)) showThumbnails();
}

void frmMain::Command10_Click() {
    DesktopOpener opener;
    if (runParcelList(workspace_, prompts_, opener, this)) showThumbnails();
}

void frmMain::CMDend_Click() {
    close();
}

void frmMain::showThumbnails() {
    showThumbnailsForNewRows(workspace_, prompts_, thumbnailer_, this);
}
