#include "viewer/ui/thumbnail_dialog.h"

#include "base/prompts.h"
#include "viewer/thumbnail_notice.h"
#include "viewer/thumbnail_run.h"
#include "viewer/thumbnailer.h"
#include "workspace/album_sheet.h"
#include "workspace/settings.h"
#include "workspace/workspace.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

const QString DialogSamN::Caption = u"サムネイル画像生成中"_s;
const QString DialogSamN::ProgressSuffix = u"個の画像の処理中です。"_s;

namespace {

// The picture cell of the album sheet in device pixels, less a small margin: the main
// window's own column and row when the sheet is there, else the same geometry computed from
// the font (column 1 is 14.88 characters wide, data rows 60 points high).
QSize pictureCellSize(const QWidget* parent) {
    constexpr int Margin = 4;
    QSize cell;
    const auto* sheet = parent ? parent->findChild<QTableView*>(u"SS1"_s) : nullptr;
    if (sheet) {
        cell = QSize(sheet->columnWidth(AlbumColumn::Picture - 1),
                     sheet->verticalHeader()->defaultSectionSize());
    } else {
        const QFontMetrics metrics = parent ? parent->fontMetrics() : QFontMetrics(QGuiApplication::font());
        const double dpi = parent ? parent->logicalDpiY() : 96.0;
        cell = QSize(int(14.88 * metrics.horizontalAdvance(u'0') + 10), int(60 * dpi / 72.0));
    }
    const qreal ratio = parent ? parent->devicePixelRatioF() : qGuiApp->devicePixelRatio();
    return ((cell - QSize(Margin, Margin)).expandedTo(QSize(16, 16))) * ratio;
}

// The rows that show previews first: those in sight and the next ones down, 30 at least, so
// that a first scroll finds pictures too. Without the main window's sheet, 30 from `first`.
std::pair<int, int> rowsOnScreen(const QWidget* parent, int first) {
    constexpr int ScreenRows = 30;
    const auto* sheet = parent ? parent->findChild<QTableView*>(u"SS1"_s) : nullptr;
    const int top = sheet ? sheet->rowAt(0) + 1 : 0;
    if (top < 1) return {first, first + ScreenRows - 1};
    const int bottom = sheet->rowAt(sheet->viewport()->height() - 1) + 1;
    return {top, std::max(bottom, top + ScreenRows - 1)};
}

} // namespace

void showThumbnailsForNewRows(Workspace& workspace, Prompts& prompts, Thumbnailer& thumbnailer,
                              QWidget* parent) {
    if (!workspace.settings.itemIsOn(SettingItem::ShowThumbnails)) return;
    if (workspace.LastNewRow < workspace.FirstNewRow || workspace.FirstNewRow < 1) return;
    DialogSamN dialog(workspace, thumbnailer, pictureCellSize(parent), parent);
    dialog.exec();
    const QString notice = ThumbnailNotice::text(dialog.rowsStopped(), dialog.rowsTooLarge());
    if (!notice.isEmpty())
        prompts.tell(notice, ThumbnailNotice::Title,
                     dialog.rowsTooLarge().isEmpty() ? Prompts::Icon::Information
                                                     : Prompts::Icon::Exclamation);
}

DialogSamN::DialogSamN(Workspace& workspace, Thumbnailer& thumbnailer, QSize cell, QWidget* parent)
    : QDialog(parent), workspace_(workspace), thumbnailer_(thumbnailer), cell_(cell) {
    setObjectName(u"DialogSamN"_s);
    setWindowTitle(Caption);
    setModal(true);
    pixelRatio_ = parent ? parent->devicePixelRatioF() : 1.0;

    Label1_ = new QLabel(u"n"_s + ProgressSuffix, this);
    Label1_->setObjectName(u"Label1"_s);
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(u"ProgressBar1"_s);
    ProgressBar1_->setTextVisible(false);
    cmdCancel_ = new QPushButton(u"中止(&S)"_s, this);
    cmdCancel_->setObjectName(u"cmdCancel"_s);
    connect(cmdCancel_, &QPushButton::clicked, this, &DialogSamN::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1_);
    layout->addWidget(ProgressBar1_);
    layout->addWidget(cmdCancel_, 0, Qt::AlignRight);
    setMinimumWidth(Label1_->fontMetrics().horizontalAdvance(u"0000"_s + ProgressSuffix) * 3 / 2);
}

DialogSamN::~DialogSamN() {
    // The run reads stop_ from its threads: it ends before the flag goes.
    stop_ = true;
    delete run_;
    endBusyCursor();
}

void DialogSamN::endBusyCursor() {
    if (busyCursor_) QGuiApplication::restoreOverrideCursor();
    busyCursor_ = false;
}

void DialogSamN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!FirstActivation) return;
    FirstActivation = false;
    // Once the window has painted its caption.
    QTimer::singleShot(0, this, &DialogSamN::startWork);
}

void DialogSamN::startWork() {
    const int first = workspace_.FirstNewRow;
    const int last = std::min(workspace_.LastNewRow, workspace_.SS1.maxRows());
    rowCount_ = std::max(last - first + 1, 0);
    Label1_->setText(QString::number(rowCount_) + ProgressSuffix);
    ProgressBar1_->setRange(0, std::max(rowCount_, 1));
    ProgressBar1_->setValue(0);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    busyCursor_ = true;

    // Each photo is decoded once, however many rows show it.
    QStringList paths;
    QHash<QString, int> indexOfPath;
    int rowsWithoutPhoto = 0;
    for (int row = first; row <= last; ++row) {
        const QString path = workspace_.SS1.text(row, AlbumColumn::Path);
        if (path.isEmpty()) {
            workspace_.SS1.setPicture(row, QImage());
            ++rowsWithoutPhoto;
            continue;
        }
        auto found = indexOfPath.constFind(path);
        if (found == indexOfPath.constEnd()) {
            found = indexOfPath.insert(path, int(paths.size()));
            paths << path;
            rowsOfPath_.append(QList<int>());
            pathDone_.append(false);
            previewShown_.append(false);
        }
        rowsOfPath_[*found].append(row);
    }

    run_ = new ThumbnailRun(thumbnailer_, paths, cell_, 0, this);
    connect(run_, &ThumbnailRun::ready, this, &DialogSamN::place, Qt::QueuedConnection);
    connect(run_, &ThumbnailRun::previewReady, this, &DialogSamN::showPreview, Qt::QueuedConnection);
    run_->showPreviewsFirst(pathsOnScreen(), cell_);
    run_->stopOn(Progress({}, &stop_));
    run_->start();
    rowsFinished(rowsWithoutPhoto);
}

QList<int> DialogSamN::pathsOnScreen() const {
    const auto [top, bottom] = rowsOnScreen(parentWidget(), workspace_.FirstNewRow);
    QList<int> indices;
    for (qsizetype i = 0; i < rowsOfPath_.size(); ++i) {
        const QList<int>& rows = rowsOfPath_.at(i);
        if (std::any_of(rows.begin(), rows.end(), [&](int row) { return row >= top && row <= bottom; }))
            indices << int(i);
    }
    return indices;
}

// Shown only until the real picture comes; one that arrives after it is dropped.
void DialogSamN::showPreview(int index, const Thumbnail& preview) {
    if (!run_ || stop_ || pathDone_.at(index)) return;
    QImage picture = preview.image;
    picture.setDevicePixelRatio(pixelRatio_);
    previewShown_[index] = true;
    for (int row : rowsOfPath_.at(index))
        workspace_.SS1.setPicture(row, picture);
}

void DialogSamN::place(int index, const Thumbnail& thumbnail) {
    if (!run_ || stop_) return;
    QImage picture = thumbnail.image;
    if (!picture.isNull()) picture.setDevicePixelRatio(pixelRatio_);
    const QList<int>& rows = rowsOfPath_.at(index);
    pathDone_[index] = true;
    if (thumbnail.tooLarge) rowsTooLarge_ << rows;
    for (int row : rows)
        workspace_.SS1.setPicture(row, picture);
    rowsFinished(int(rows.size()));
}

void DialogSamN::rowsFinished(int count) {
    rowsDone_ += count;
    ProgressBar1_->setValue(rowsDone_);
    if (rowsDone_ >= rowCount_) {
        endBusyCursor();
        accept();
    }
}

void DialogSamN::reject() {
    // The photos still being decoded are dropped; the rows drawn so far keep their pictures.
    if (run_ && !stop_) {
        stop_ = true;
        for (qsizetype i = 0; i < pathDone_.size(); ++i) {
            if (pathDone_.at(i)) continue;
            rowsStopped_ << rowsOfPath_.at(i);
            // A preview is no thumbnail: the rows named as left without one show none.
            if (previewShown_.at(i))
                for (int row : rowsOfPath_.at(i))
                    workspace_.SS1.setPicture(row, QImage());
        }
        std::sort(rowsStopped_.begin(), rowsStopped_.end());
    }
    endBusyCursor();
    QDialog::reject();
}
