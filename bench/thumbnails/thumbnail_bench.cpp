// Timed runs of our thumbnail maker for run.sh, which times the whole process from outside
// as it does every other contender.
//   thumbnail_bench run FOLDER CACHE_ROOT THREADS [jpeg]  thumbnails of about 256 px of every
//                                 photo (or only the JPEGs); CACHE_ROOT "-" keeps no cache
//   thumbnail_bench plain FOLDER THREADS                 the same pictures from a bare
//                                 QImageReader loop: decode at reduced size, nothing kept
//   thumbnail_bench first30 FOLDER                       after placing every photo in the main
//                                 window, the milliseconds until rows 1-30 hold their
//                                 pictures, until the visible rows are painted with theirs,
//                                 and until the dialog closes (cache: XDG_CACHE_HOME's)
#include "shell/ui/main_window.h"
#include "shell/ui/qt_prompts.h"
#include "viewer/thumbnail_run.h"
#include "viewer/ui/thumbnail_dialog.h"
#include "workspace/settings.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QTableView>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize Box(256, 256);

QStringList photosIn(const QString& folder, bool jpegOnly) {
    const QStringList filters = jpegOnly ? QStringList{u"*.jpg"_s, u"*.JPG"_s}
                                         : QStringList{u"*.jpg"_s, u"*.JPG"_s, u"*.bmp"_s, u"*.gif"_s};
    QStringList photos;
    for (const QString& name : QDir(folder).entryList(filters, QDir::Files, QDir::Name))
        photos << QDir(folder).filePath(name);
    return photos;
}

int report(int failed) {
    if (failed > 0) std::fprintf(stderr, "%d photos gave no thumbnail\n", failed);
    return failed > 0 ? 1 : 0;
}

int timedRun(const QStringList& args) {
    const QStringList photos = photosIn(args.at(2), args.size() > 5 && args.at(5) == u"jpeg"_s);
    const QString cacheRoot = args.at(3) == u"-"_s ? QString() : args.at(3);
    Thumbnailer thumbnailer{SharedThumbnailCache(cacheRoot)};
    ThumbnailRun run(thumbnailer, photos, Box, args.at(4).toInt());
    std::atomic<int> failed = 0;
    QObject::connect(
        &run, &ThumbnailRun::ready, &run,
        [&](int, const Thumbnail& thumbnail) {
            if (thumbnail.image.isNull()) ++failed;
        },
        Qt::DirectConnection);
    run.start();
    run.waitForDone();
    return report(failed);
}

int plainRun(const QStringList& args) {
    QThreadPool pool;
    pool.setMaxThreadCount(args.at(3).toInt());
    std::atomic<int> failed = 0;
    for (const QString& path : photosIn(args.at(2), false)) {
        pool.start([&failed, path] {
            QImageReader reader(path);
            reader.setAutoTransform(true);
            const QSize stored = reader.size();
            if (stored.width() > Box.width() || stored.height() > Box.height())
                reader.setScaledSize(stored.scaled(Box, Qt::KeepAspectRatio));
            if (reader.read().isNull()) ++failed;
        });
    }
    pool.waitForDone();
    return report(failed);
}

class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<void()> painted) : painted_(std::move(painted)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted_();
        return false;
    }

private:
    std::function<void()> painted_;
};

// Placing the photos and drawing them as the main window does, with its sheet on screen.
int firstScreen(const QStringList& args) {
    const QStringList photos = photosIn(args.at(2), false);
    QtPrompts prompts;
    Workspace workspace(QDir::tempPath());
    workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(1));
    frmMain window(workspace, prompts);
    window.resize(1024, 768);
    window.show();
    QTableView* sheet = window.sheetView();
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    for (int row = 1; row <= photos.size(); ++row)
        workspace.SS1.setText(row, AlbumColumn::Path, photos.at(row - 1));
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = int(photos.size());
    QCoreApplication::processEvents();
    const int visibleRows = std::max(sheet->rowAt(sheet->viewport()->height() - 1) + 1, 1);

    const auto drawn = [&](int rows) {
        for (int row = 1; row <= rows; ++row)
            if (workspace.SS1.picture(row).isNull()) return false;
        return true;
    };
    constexpr int Screen = 30;
    QElapsedTimer timer;
    qint64 firstThirty = -1;
    qint64 visiblePainted = -1;
    QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, [&] {
        if (firstThirty < 0 && drawn(Screen)) firstThirty = timer.elapsed();
    });
    // The paint after the visible rows got their pictures is what the user sees.
    PaintWatch watch([&] {
        if (visiblePainted < 0 && drawn(visibleRows)) visiblePainted = timer.elapsed();
    });
    sheet->viewport()->installEventFilter(&watch);

    timer.start();
    showThumbnailsForNewRows(workspace, &window);
    const qint64 total = timer.elapsed();
    std::printf("%lld %lld %lld %d\n", static_cast<long long>(firstThirty),
                static_cast<long long>(visiblePainted), static_cast<long long>(total), visibleRows);
    return firstThirty >= 0 && visiblePainted >= 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args.at(1) == u"run"_s) return timedRun(args);
    if (args.size() >= 4 && args.at(1) == u"plain"_s) return plainRun(args);
    if (args.size() >= 3 && args.at(1) == u"first30"_s) return firstScreen(args);
    std::fprintf(stderr,
                 "usage: thumbnail_bench run FOLDER CACHE_ROOT THREADS [jpeg] | plain FOLDER THREADS | "
                 "first30 FOLDER\n");
    return 2;
}
