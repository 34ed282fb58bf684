#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QSize>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;
class Prompts;
class ThumbnailRun;
struct Thumbnail;
class Thumbnailer;
class Workspace;

// Draws the thumbnails of rows FirstNewRow..LastNewRow into the sheet's picture column, then
// says once which rows a stop or an oversized photo left without one. Does nothing when the
// ShowThumbnails setting is off. Every command that puts photos on rows calls it, with the
// thumbnailer that keeps the pictures made so far.
void showThumbnailsForNewRows(Workspace& workspace, Prompts& prompts, Thumbnailer& thumbnailer,
                              QWidget* parent);

// The progress dialog of a thumbnail run. The work starts when the dialog is first shown and
// the dialog closes itself when it is done; cancelling keeps the pictures already drawn.
class DialogSamN : public QDialog {
    Q_OBJECT
public:
    static const QString Caption;        // "サムネイル画像生成中"
    static const QString ProgressSuffix; // "個の画像の処理中です。"

    // `cell` is the picture cell's size in device pixels.
    DialogSamN(Workspace& workspace, Thumbnailer& thumbnailer, QSize cell, QWidget* parent = nullptr);
    ~DialogSamN() override;

    int rowsDone() const { return rowsDone_; }
    // Rows the stop left without their picture; empty unless stopped.
    const QList<int>& rowsStopped() const { return rowsStopped_; }
    // Rows whose photo is over the picture limit.
    const QList<int>& rowsTooLarge() const { return rowsTooLarge_; }

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void startWork();
    // Indices of the paths shown on the rows in sight, which show their previews first.
    QList<int> pathsOnScreen() const;
    void showPreview(int index, const Thumbnail& preview);
    void place(int index, const Thumbnail& thumbnail);
    void rowsFinished(int count);
    void endBusyCursor();

    Workspace& workspace_;
    Thumbnailer& thumbnailer_;
    QSize cell_;
    qreal pixelRatio_ = 1;
    bool FirstActivation = true;
    bool busyCursor_ = false;
    int rowCount_ = 0;
    int rowsDone_ = 0;
    QList<QList<int>> rowsOfPath_; // rows showing each path handed to the run
    QList<bool> pathDone_;
    QList<bool> previewShown_;
    QList<int> rowsStopped_;
    QList<int> rowsTooLarge_;
    ThumbnailRun* run_ = nullptr;
    std::atomic_bool stop_ = false; // 中止: pictures that come after it are dropped

    QProgressBar* ProgressBar1_;
    QLabel* Label1_;
    QPushButton* cmdCancel_;
};
