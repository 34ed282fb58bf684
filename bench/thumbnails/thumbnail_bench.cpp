// Timed runs of our thumbnail maker for run.sh, which times the whole process from outside
// as it does every other contender.
//   thumbnail_bench run FOLDER CACHE_ROOT THREADS [jpeg]  thumbnails of about 256 px of every
//                                 photo (or only the JPEGs); CACHE_ROOT "-" keeps no cache
//   thumbnail_bench plain FOLDER THREADS                 the same pictures from a bare
//                                 QImageReader loop: decode at reduced size, nothing kept
//   thumbnail_bench first30 FOLDER [previews]            after placing every photo in the main
//                                 window, the milliseconds until rows 1-30 hold a picture,
//                                 until the visible rows are painted with one, until they are
//                                 painted with their real thumbnails (the second picture of a
//                                 row when its photo has a preview) and until the dialog
//                                 closes (cache: XDG_CACHE_HOME's)
//   thumbnail_bench album FOLDER PROGRAM_FOLDER ROWS     an album file album.dat in
//                                 PROGRAM_FOLDER of ROWS rows over the photos of FOLDER
//   thumbnail_bench startup PROGRAM_FOLDER ALBUM         the milliseconds from process start
//                                 until the main window, opened with the album, is shown and
//                                 painted, and until rows 1-30 hold a picture
#include "album/album_file.h"
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
#include <ctime>
#include <functional>

#include <unistd.h>

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

    // Rows whose photo shows a preview first get their real thumbnail as a second picture.
    const bool previews = args.size() > 3 && args.at(3) == u"previews"_s;
    QHash<int, int> pictures;
    const auto drawn = [&](int rows, bool real) {
        for (int row = 1; row <= rows; ++row)
            if (pictures.value(row) < (real && previews ? 2 : 1)) return false;
        return true;
    };
    constexpr int Screen = 30;
    QElapsedTimer timer;
    qint64 firstThirty = -1;
    qint64 visiblePainted = -1;
    qint64 visibleReal = -1;
    QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, [&](const QModelIndex& from) {
        if (!workspace.SS1.picture(from.row() + 1).isNull()) ++pictures[from.row() + 1];
        if (firstThirty < 0 && drawn(Screen, false)) firstThirty = timer.elapsed();
    });
    // The paint after the visible rows got their pictures is what the user sees.
    PaintWatch watch([&] {
        if (visiblePainted < 0 && drawn(visibleRows, false)) visiblePainted = timer.elapsed();
        if (visibleReal < 0 && drawn(visibleRows, true)) visibleReal = timer.elapsed();
    });
    sheet->viewport()->installEventFilter(&watch);

    timer.start();
    Thumbnailer thumbnailer;
    showThumbnailsForNewRows(workspace, prompts, thumbnailer, &window);
    const qint64 total = timer.elapsed();
    std::printf("%lld %lld %lld %lld %d\n", static_cast<long long>(firstThirty),
                static_cast<long long>(visiblePainted), static_cast<long long>(visibleReal),
                static_cast<long long>(total), visibleRows);
    return firstThirty >= 0 && visiblePainted >= 0 ? 0 : 1;
}

int writeAlbum(const QStringList& args) {
    const QStringList photos = photosIn(args.at(2), true);
    QList<AlbumRow> rows;
    const int count = args.at(4).toInt();
    for (int row = 1; row <= count && !photos.isEmpty(); ++row) {
        AlbumRow album;
        album.info = u"工種\r\n"_s + QString::number(row) + u"\r\n"_s;
        album.number = QString::number(row);
        album.path = photos.at((row - 1) % photos.size());
        rows << album;
    }
    AlbumFile::save(QDir(args.at(3)).filePath(u"album.dat"_s), rows);
    return 0;
}

// Milliseconds since the process started, from the kernel's record of its start (10 ms steps).
qint64 sinceProcessStart() {
    QFile stat(u"/proc/self/stat"_s);
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double started = fields.value(19).toDouble() / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64((double(now.tv_sec) + double(now.tv_nsec) / 1e9 - started) * 1000);
}

// Start-up as main() does it: the window opened with the album, shown, and the album's
// thumbnails made once the event loop runs; stops once rows 1-30 hold a picture.
int startUpWithAlbum(const QStringList& args) {
    QtPrompts prompts;
    Workspace workspace(args.at(2));
    frmMain window(workspace, prompts);
    window.resize(1024, 768);
    qint64 painted = -1;
    qint64 firstThirty = -1;
    PaintWatch watch([&] {
        if (painted < 0) painted = sinceProcessStart();
    });
    window.sheetView()->viewport()->installEventFilter(&watch);
    QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, [&] {
        for (int row = 1; row <= 30; ++row)
            if (workspace.SS1.picture(row).isNull()) return;
        if (firstThirty < 0) firstThirty = sinceProcessStart();
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    });
    window.startUp(args.at(3));
    window.show();
    QTimer::singleShot(60'000, qApp, [] { QCoreApplication::exit(1); });
    QApplication::exec();
    std::printf("%lld %lld\n", static_cast<long long>(painted), static_cast<long long>(firstThirty));
    return painted >= 0 && firstThirty >= 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args.at(1) == u"run"_s) return timedRun(args);
    if (args.size() >= 4 && args.at(1) == u"plain"_s) return plainRun(args);
    if (args.size() >= 3 && args.at(1) == u"first30"_s) return firstScreen(args);
    if (args.size() >= 5 && args.at(1) == u"album"_s) return writeAlbum(args);
    if (args.size() >= 4 && args.at(1) == u"startup"_s) return startUpWithAlbum(args);
    std::fprintf(stderr,
                 "usage: thumbnail_bench run FOLDER CACHE_ROOT THREADS [jpeg] | plain FOLDER THREADS | "
                 "first30 FOLDER [previews] | album FOLDER PROGRAM_FOLDER ROWS | startup PROGRAM_FOLDER "
                 "ALBUM\n");
    return 2;
}
