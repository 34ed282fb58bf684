#include "app/ui/main_window.h"

#include "album/album_commands.h"
#include "app/prompts.h"
#include "app/session.h"
#include "app/sheet_guard.h"
#include "app/ui/flow_layout.h"
#include "app/ui/info_cell_delegate.h"
#include "app/workspace.h"
#include "excel/ui/album_excel_dialog.h"
#include "excel/ui/desktop_opener.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

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
    layout->addWidget(buildBrowserPanel());

    auto* CMDin = addButton("CMDin", u">>"_s, u"このボタンで現在のカーソル行から写真をセットします"_s);
    CMDin->setEnabled(false);
    CMDin->setFixedWidth(CMDin->fontMetrics().horizontalAdvance(u">>>>"_s) + 12);
    layout->addWidget(CMDin, 0, Qt::AlignVCenter);

    auto* right = new QVBoxLayout;
    right->addWidget(buildButtonRows());
    SS1_ = new QTableView(central);
    SS1_->setObjectName(u"SS1"_s);
    SS1_->setModel(&workspace_.SS1);
    SS1_->setItemDelegateForColumn(AlbumColumn::Info - 1, new InfoCellDelegate(SS1_));
    SS1_->setWordWrap(false);
    SS1_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                          QAbstractItemView::DoubleClicked);
    right->addWidget(SS1_, 1);
    layout->addLayout(right, 1);
    setCentralWidget(central);

    buildMenus();
    buildStatusBar();
    sizeSheet();

    // Delete empties the selected cells, as one command that can be undone.
    auto* clear = new QShortcut(QKeySequence::Delete, SS1_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(clear, &QShortcut::activated, this, &frmMain::clearSelectedCells);

    connect(&workspace_, &Workspace::rowTotalChanged, panels_[3], &QLabel::setText);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(1280, screen.width() * 9 / 10), std::min(860, screen.height() * 9 / 10));
}

QPushButton* frmMain::addButton(const char* name, const QString& caption, const QString& toolTip) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    if (!toolTip.isEmpty()) button->setToolTip(toolTip);
    return button;
}

QWidget* frmMain::buildBrowserPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* DriveM = new QComboBox(panel);
    DriveM->setObjectName(u"DriveM"_s);
    DriveM->setToolTip(u"ドライブ一覧"_s);
    auto* DirM = new QListWidget(panel);
    DirM->setObjectName(u"DirM"_s);
    DirM->setToolTip(u"ディレクトリ一覧"_s);
    auto* FileM = new QListWidget(panel);
    FileM->setObjectName(u"FileM"_s);
    FileM->setToolTip(u"ファイル一覧"_s);
    FileM->setSelectionMode(QAbstractItemView::ExtendedSelection);

    Check1_ = new QCheckBox(u"プレビューする"_s, panel);
    Check1_->setObjectName(u"Check1"_s);
    Check1_->setToolTip(u"下のプレビュー画面表示の有無"_s);

    auto* SS4 = new QTableWidget(1, 1, panel);
    SS4->setObjectName(u"SS4"_s);
    SS4->horizontalHeader()->hide();
    SS4->verticalHeader()->hide();
    SS4->horizontalHeader()->setStretchLastSection(true);
    SS4->verticalHeader()->setStretchLastSection(true);
    SS4->setMinimumHeight(100);
    SS4->setMaximumHeight(180);

    auto* Picture4 = new QFrame(panel);
    Picture4->setObjectName(u"Picture4"_s);
    Picture4->hide();

    // Browsing comes with the photo placement; until then the lists stay inactive.
    for (QWidget* control : std::initializer_list<QWidget*>{DriveM, DirM, FileM, SS4})
        control->setEnabled(false);

    layout->addWidget(DriveM);
    layout->addWidget(DirM, 2);
    layout->addWidget(FileM, 3);
    layout->addWidget(Check1_);
    layout->addWidget(SS4);
    layout->addWidget(Picture4);
    panel->setMinimumWidth(170);
    panel->setMaximumWidth(250);
    return panel;
}

QWidget* frmMain::buildButtonRows() {
    struct ButtonEntry {
        const char* name;
        QString caption;
        QString toolTip;
    };
    const QList<ButtonEntry> firstRow = {
        {"CMDnew", u"新規"_s, u"新規入力"_s},
        {"CMDload", u"呼出"_s, u"入力ファイルを呼び出します"_s},
        {"CMDsave", u"保存"_s, u"現在のシート内容を保存します"_s},
        {"Command7", u"Import2"_s, u"特殊処理2"_s},
        {"CMDIns", u"行挿入"_s, u"選択行の上に１行を挿入します"_s},
        {"CMDDel", u"行削除"_s, u"選択行を削除します"_s},
        {"CMDSort", u"並替"_s, u"連番通りに行を並べ替えます"_s},
        {"Command4", u"点名順"_s, u"情報の1行目で行をソートします"_s},
        {"CMDFCP", u"COPY"_s, u"規則に従ってファイル名を一括変更"_s},
        {"cmdCancel", u"中止(&S)"_s, {}},
    };
    const QList<ButtonEntry> secondRow = {
        {"CMDout", u"印刷"_s, u"写真帳を印刷します"_s},
        {"Command1", u"プリンタ設定"_s, u"プリンタの設定"_s},
        {"Command2", u"条件"_s, u"各種条件を設定します"_s},
        {"Command8", u"文字列"_s, u"文字列を登録できます"_s},
        {"CMDEXL", u"写真帳"_s, u"標準写真帳EXCEL出力"_s},
        {"Command5", u"現踏査"_s, u"都市再生関連出力"_s},
        {"Command3", u"点の記"_s, u"４級点の記の作成"_s},
        {"CMDXML", u"XML"_s, u"電子納品・ラベル処理"_s},
        {"Command6", u"Import1"_s, u"特殊処理1"_s},
        {"Command9", u"Import3"_s, {}},
        {"Command10", u"Import4"_s, {}},
        {"CMDend", u"終了"_s, u"終了します"_s},
    };
    // Commands of this window that work now; the others are shown in their places, inactive,
    // until their features are built.
    const QStringList working = {u"CMDEXL"_s,   u"CMDnew"_s,   u"CMDload"_s, u"CMDsave"_s,
                                 u"Command7"_s, u"Command1"_s, u"CMDend"_s,  u"cmdCancel"_s};

    // Each row of buttons wraps onto a further line on a narrow screen.
    auto* rows = new QWidget(this);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto* entries : {&firstRow, &secondRow}) {
        auto* row = new QWidget(rows);
        auto* flow = new FlowLayout(row);
        for (const ButtonEntry& entry : *entries) {
            QPushButton* button = addButton(entry.name, entry.caption, entry.toolTip);
            button->setEnabled(working.contains(button->objectName()));
            flow->addWidget(button);
        }
        layout->addWidget(row);
    }

    findChild<QPushButton*>(u"cmdCancel"_s)->hide();
    connect(findChild<QPushButton*>(u"CMDnew"_s), &QPushButton::clicked, this, &frmMain::CMDnew_Click);
    connect(findChild<QPushButton*>(u"CMDload"_s), &QPushButton::clicked, this, &frmMain::CMDload_Click);
    connect(findChild<QPushButton*>(u"CMDsave"_s), &QPushButton::clicked, this, &frmMain::CMDsave_Click);
    connect(findChild<QPushButton*>(u"Command7"_s), &QPushButton::clicked, this, &frmMain::Command7_Click);
    connect(findChild<QPushButton*>(u"Command1"_s), &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(findChild<QPushButton*>(u"CMDEXL"_s), &QPushButton::clicked, this, &frmMain::CMDEXL_Click);
    connect(findChild<QPushButton*>(u"CMDend"_s), &QPushButton::clicked, this, &QWidget::close);
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

    QMenu* bookmarks = menuBar()->addMenu(u"お気に入り(&X)"_s);
    bookmarks->setObjectName(u"mnuBookMark"_s);
    QAction* add = bookmarks->addAction(u"このフォルダのパスを登録(&A)"_s);
    add->setObjectName(u"mnuBookMark_Add"_s);
    QAction* remove = bookmarks->addAction(u"フォルダのパスを削除(&D)..."_s);
    remove->setObjectName(u"mnuBookMark_Del"_s);
    bookmarks->addSeparator();
    add->setEnabled(false);
    remove->setEnabled(false);

    QMenu* help = menuBar()->addMenu(u"ヘルプ(&H)"_s);
    help->setObjectName(u"mnuHelp"_s);
    QAction* about = help->addAction(u"バージョン情報(&A)"_s);
    about->setObjectName(u"mnuHelp_About"_s);
    about->setEnabled(false);
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
    Session::startUp(workspace_, prompts_, albumPath);
    Check1_->setChecked(workspace_.settings.itemIsOn(SettingItem::ShowFilePreview));
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
    if (AlbumCommands::LoadAlbum(workspace_, prompts_)) SS1_->setFocus();
}

void frmMain::CMDsave_Click() {
    AlbumCommands::SaveAlbum(workspace_, prompts_);
}

void frmMain::Command7_Click() {
    if (AlbumCommands::ImportCsvList(workspace_, prompts_)) activateWindow();
}

void frmMain::Command1_Click() {
    if (const auto printer = prompts_.printerSetup(workspace_.DefaultPrinter))
        workspace_.DefaultPrinter = *printer;
}

void frmMain::CMDEXL_Click() {
    if (!SheetGuard::SheetHasData(workspace_, prompts_)) return;
    DesktopOpener opener;
    EXOUTDialog dialog(workspace_, prompts_, opener, this);
    connect(&dialog, &EXOUTDialog::photoRowFailed, this,
            [this](int row) { SS1_->setCurrentIndex(workspace_.SS1.index(row - 1, AlbumColumn::Path - 1)); });
    dialog.exec();
}
