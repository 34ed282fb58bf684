#include "viewer/thumbnail_run.h"

#include <QThread>

ThumbnailRun::ThumbnailRun(Thumbnailer& thumbnailer, QStringList paths, QSize box, int threads,
                           QObject* parent)
    : ThumbnailRun(
          thumbnailer, std::move(paths),
          [box](Thumbnailer& maker, const QString& path, PendingShare& pending) {
              return maker.make(path, box, pending);
          },
          threads, parent) {}

ThumbnailRun::ThumbnailRun(Thumbnailer& thumbnailer, QStringList paths, Step step, int threads,
                           QObject* parent)
    : QObject(parent), thumbnailer_(thumbnailer), paths_(std::move(paths)), step_(std::move(step)) {
    qRegisterMetaType<Thumbnail>();
    pool_.setMaxThreadCount(threads > 0 ? threads : std::max(QThread::idealThreadCount(), 1));
}

ThumbnailRun::~ThumbnailRun() {
    pool_.clear();
    pool_.waitForDone();
}

void ThumbnailRun::showPreviewsFirst(QList<int> indices, QSize box) {
    previewIndices_ = std::move(indices);
    previewBox_ = box;
}

void ThumbnailRun::start() {
    for (int i : previewIndices_) {
        if (i < 0 || i >= paths_.size()) continue;
        pool_.start([this, i] {
            if (progress_.stopRequested()) return;
            const Thumbnail preview = thumbnailer_.preview(paths_.at(i), previewBox_);
            if (!progress_.stopRequested() && !preview.image.isNull()) Q_EMIT previewReady(i, preview);
        });
    }
    for (int i = 0; i < paths_.size(); ++i) {
        pool_.start([this, i] {
            if (progress_.stopRequested()) return;
            PendingShare pending;
            const Thumbnail thumbnail = step_(thumbnailer_, paths_.at(i), pending);
            if (!progress_.stopRequested()) Q_EMIT ready(i, thumbnail);
            // Also when stopped: the decoding is done, and the entries spare the next run a decode.
            thumbnailer_.share(pending);
        });
    }
}
