#include "album/ui/photo_browser_panel.h"

#include "album/photo_folder.h"
#include "album/photo_paths.h"
#include "base/picture_decode.h"
#include "base/picture_limit.h"
#include "base/prompts.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int DepthRole = Qt::UserRole + 1;
constexpr int PreviewHeight = 150;
constexpr int PreviewMargin = 6; // the cell's own frame and padding around its picture

// Indents each folder by its depth below the root. The names themselves stay plain, so that
// typing a name's first letters finds it.
class FolderIndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(option.rect.left() + indent(option, index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(option, index), 0);
    }

private:
    static int indent(const QStyleOptionViewItem& option, const QModelIndex& index) {
        return index.data(DepthRole).toInt() * option.fontMetrics.horizontalAdvance(u"00"_s);
    }
};

} // namespace

PhotoBrowserPanel::PhotoBrowserPanel(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QWidget(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"PhotoBrowserPanel"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    DriveM_ = new QComboBox(this);
    DriveM_->setObjectName(u"DriveM"_s);
    DriveM_->setToolTip(u"ドライブ一覧"_s);
    DriveM_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    DriveM_->setMinimumContentsLength(8);
    DirM_ = new QListWidget(this);
    DirM_->setObjectName(u"DirM"_s);
    DirM_->setToolTip(u"ディレクトリ一覧"_s);
    DirM_->setItemDelegate(new FolderIndentDelegate(DirM_));
    FileM_ = new QListWidget(this);
    FileM_->setObjectName(u"FileM"_s);
    FileM_->setToolTip(u"ファイル一覧"_s);
    FileM_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    Check1_ = new QCheckBox(u"プレビューする"_s, this);
    Check1_->setObjectName(u"Check1"_s);
    Check1_->setToolTip(u"下のプレビュー画面表示の有無"_s);

    SS4_ = new QTableWidget(1, 1, this);
    SS4_->setObjectName(u"SS4"_s);
    SS4_->horizontalHeader()->hide();
    SS4_->verticalHeader()->hide();
    SS4_->horizontalHeader()->setStretchLastSection(true);
    SS4_->verticalHeader()->setStretchLastSection(true);
    SS4_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SS4_->setFixedHeight(PreviewHeight);
    SS4_->setItem(0, 0, new QTableWidgetItem);
    SS4_->item(0, 0)->setTextAlignment(Qt::AlignCenter);

    Picture4_ = new QFrame(this);
    Picture4_->setObjectName(u"Picture4"_s);
    Picture4_->setAutoFillBackground(true);
    Picture4_->hide();

    layout->addWidget(DriveM_);
    layout->addWidget(DirM_, 2);
    layout->addWidget(FileM_, 3);
    layout->addWidget(Check1_);
    layout->addWidget(SS4_);
    layout->addWidget(Picture4_);
    setMinimumWidth(200);
    setMaximumWidth(280);

    connect(DriveM_, &QComboBox::activated, this, [this](int index) { setDrive(DriveM_->itemText(index)); });
    connect(DirM_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const QString folder = item->data(PathRole).toString();
        if (!setFolder(folder)) {
            reportUnreadable(u"フォルダ "_s + QDir::toNativeSeparators(folder));
            // The selection goes back to the folder still shown, once the list is done with the item.
            QMetaObject::invokeMethod(this, &PhotoBrowserPanel::fillFolderList, Qt::QueuedConnection);
        }
    });
    connect(FileM_, &QListWidget::itemClicked, this, &PhotoBrowserPanel::showPreview);
    connect(FileM_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Q_EMIT fileOpened(PhotoPaths::join(folder(), item->text())); });
}

void PhotoBrowserPanel::start() {
    {
        const QSignalBlocker blocker(DriveM_);
        DriveM_->clear();
        DriveM_->addItems(PhotoFolder::volumes());
    }
    const QString home = QDir::homePath();
    const QString drive = PhotoFolder::volumeOf(home);
    folderOfDrive_.insert(drive, home);
    if (!setDrive(drive)) setDrive(u"/"_s);
}

bool PhotoBrowserPanel::setDrive(const QString& root) {
    const QString folder = folderOfDrive_.value(root, root);
    const bool shown = setFolder(folder) || (folder != root && setFolder(root));
    if (!shown) {
        reportUnreadable(u"ドライブ "_s + root);
        DriveM_->setCurrentText(workspace_.CurrentDrive);
        return false;
    }
    return true;
}

bool PhotoBrowserPanel::setFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !QDir(folder).isReadable()) return false;
    workspace_.CurrentFolder = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    // The drive list follows the folder, also when a bookmark leads to another volume.
    const QString drive = PhotoFolder::volumeOf(workspace_.CurrentFolder);
    folderOfDrive_.insert(drive, workspace_.CurrentFolder);
    if (DriveM_->findText(drive) < 0) DriveM_->addItem(drive);
    DriveM_->setCurrentText(drive);
    workspace_.CurrentDrive = drive;
    fillFolderList();
    fillFileList();
    return true;
}

void PhotoBrowserPanel::reportUnreadable(const QString& what) {
    prompts_.tell(u"エラー\r\n"_s + what + u" を読み込めません。"_s, u"エラー"_s, Prompts::Icon::Critical);
}

QString PhotoBrowserPanel::folder() const {
    return workspace_.CurrentFolder;
}

QStringList PhotoBrowserPanel::selectedFileNames() const {
    QStringList names;
    for (int i = 0; i < FileM_->count(); ++i)
        if (FileM_->item(i)->isSelected()) names << FileM_->item(i)->text();
    return names;
}

// The chain of folders from the root down to the current one, then its sub-folders, each
// level indented, as a folder list shows them.
void PhotoBrowserPanel::fillFolderList() {
    DirM_->clear();
    QStringList chain;
    QDir dir(workspace_.CurrentFolder);
    do
        chain.prepend(dir.absolutePath());
    while (dir.cdUp());
    int depth = 0;
    const auto add = [&](const QString& path, const QString& caption) {
        auto* item = new QListWidgetItem(caption, DirM_);
        item->setData(PathRole, path);
        item->setData(DepthRole, depth);
        item->setToolTip(QDir::toNativeSeparators(path));
        return item;
    };
    for (const QString& path : std::as_const(chain)) {
        const QString name = QFileInfo(path).fileName();
        DirM_->setCurrentItem(add(path, name.isEmpty() ? QDir::toNativeSeparators(path) : name));
        ++depth;
    }
    for (const QString& name : PhotoFolder::subfolders(workspace_.CurrentFolder))
        add(QDir(workspace_.CurrentFolder).filePath(name), name);
}

void PhotoBrowserPanel::fillFileList() {
    FileM_->clear();
    const QStringList names = PhotoFolder::pictures(workspace_.CurrentFolder);
    FileM_->addItems(names);
    QPalette palette = Picture4_->palette();
    palette.setColor(QPalette::Window, palette.color(names.isEmpty() ? QPalette::Button : QPalette::Base));
    Picture4_->setPalette(palette);
    setPreview({}, {});
    Q_EMIT fileCountChanged(u"画像総数="_s + QString::number(names.size()));
}

void PhotoBrowserPanel::showPreview(QListWidgetItem* item) {
    if (!Check1_->isChecked() || !item) return;
    // The whole picture, upright, inside the cell and its margins.
    const QSize box =
        (SS4_->viewport()->size() - QSize(PreviewMargin, PreviewMargin)).expandedTo(QSize(16, 16));
    const PictureDecode::Result decoded =
        PictureDecode::fitted(PhotoPaths::join(workspace_.CurrentFolder, item->text()), box);
    // A picture refused for its size says so in the cell; another unreadable one leaves it empty.
    setPreview(decoded.image, decoded.tooLarge ? PictureLimit::TooLarge : QString());
}

void PhotoBrowserPanel::setPreview(const QImage& image, const QString& note) {
    QTableWidgetItem* cell = SS4_->item(0, 0);
    cell->setData(Qt::DecorationRole, image.isNull() ? QVariant() : QVariant(image));
    cell->setText(note);
}
