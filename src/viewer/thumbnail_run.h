#pragma once

#include "base/progress.h"
#include "viewer/thumbnailer.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QThreadPool>

#include <functional>

// Makes the thumbnails of a list of photos on worker threads, in list order as far as the
// threads allow, and reports each one as soon as its picture is there; the shared-cache
// entries are written after the report. Can be stopped at any time through its Progress;
// what is already reported stays reported.
class ThumbnailRun : public QObject {
    Q_OBJECT
public:
    // What is made for each path; by default Thumbnailer::make for `box`. Entries left in the
    // PendingShare are written once the thumbnail is reported.
    using Step = std::function<Thumbnail(Thumbnailer&, const QString&, PendingShare&)>;

    ThumbnailRun(Thumbnailer& thumbnailer, QStringList paths, QSize box, int threads = 0,
                 QObject* parent = nullptr);
    ThumbnailRun(Thumbnailer& thumbnailer, QStringList paths, Step step, int threads = 0,
                 QObject* parent = nullptr);
    // Drops the photos not begun and waits for those being decoded.
    ~ThumbnailRun() override;

    const QStringList& paths() const { return paths_; }
    // Before start(): the photos at these indices (those on screen) first show their Exif
    // previews fitted into `box`, read ahead of every real picture since they cost a fraction
    // of a decode.
    void showPreviewsFirst(QList<int> indices, QSize box);
    // Before start(): once a stop is asked of progress, no photo is begun or reported.
    void stopOn(Progress progress) { progress_ = std::move(progress); }
    void start();
    void waitForDone() { pool_.waitForDone(); }

Q_SIGNALS:
    // Emitted from a worker thread: a connection to an object of the window thread is
    // queued, so the result arrives there between events.
    void ready(int index, const Thumbnail& thumbnail);
    // A photo's Exif preview, emitted before its ready() unless the real picture was quicker;
    // only for photos that have one.
    void previewReady(int index, const Thumbnail& preview);

private:
    Thumbnailer& thumbnailer_;
    QStringList paths_;
    Step step_;
    QList<int> previewIndices_;
    QSize previewBox_;
    Progress progress_;
    QThreadPool pool_;
};
