// Timed runs of our thumbnail maker for run.sh. Prints one figure in milliseconds.
//   thumbnail_bench run FOLDER CACHE_ROOT THREADS [jpeg]  thumbnails of about 256 px of every
//                                                        photo (or only the JPEGs)
//   thumbnail_bench first30 FOLDER                       time until rows 1-30 show their
//                                                        pictures after placing every photo
//                                                        (the cache is XDG_CACHE_HOME's)
#include "app/workspace.h"
#include "settings/settings.h"
#include "viewer/thumbnail_run.h"
#include "viewer/ui/thumbnail_dialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

QStringList photosIn(const QString& folder, bool jpegOnly) {
    const QStringList filters = jpegOnly ? QStringList{u"*.jpg"_s, u"*.JPG"_s}
                                         : QStringList{u"*.jpg"_s, u"*.JPG"_s, u"*.bmp"_s, u"*.gif"_s};
    QStringList photos;
    for (const QString& name : QDir(folder).entryList(filters, QDir::Files, QDir::Name))
        photos << QDir(folder).filePath(name);
    return photos;
}

int timedRun(const QStringList& args) {
    const QStringList photos = photosIn(args.at(2), args.size() > 5 && args.at(5) == u"jpeg"_s);
    Thumbnailer thumbnailer{SharedThumbnailCache(args.at(3))};
    QElapsedTimer timer;
    timer.start();
    ThumbnailRun run(thumbnailer, photos, QSize(256, 256), args.at(4).toInt());
    std::atomic<int> failed = 0;
    QObject::connect(
        &run, &ThumbnailRun::ready, &run,
        [&](int, const Thumbnail& thumbnail) {
            if (thumbnail.image.isNull()) ++failed;
        },
        Qt::DirectConnection);
    run.start();
    run.waitForDone();
    std::printf("%lld\n", static_cast<long long>(timer.elapsed()));
    if (failed > 0) std::fprintf(stderr, "%d photos gave no thumbnail\n", int(failed));
    return failed > 0 ? 1 : 0;
}

int firstScreen(const QStringList& args) {
    const QStringList photos = photosIn(args.at(2), false);
    Workspace workspace(QDir::tempPath());
    workspace.settings.setItem(SettingItem::ShowThumbnails, SettingValue::number(1));
    for (int row = 1; row <= photos.size(); ++row)
        workspace.SS1.setText(row, AlbumColumn::Path, photos.at(row - 1));
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = int(photos.size());

    constexpr int Screen = 30;
    QElapsedTimer timer;
    qint64 firstScreenMs = -1;
    QObject::connect(&workspace.SS1, &AlbumSheet::dataChanged, [&] {
        if (firstScreenMs >= 0) return;
        for (int row = 1; row <= Screen; ++row)
            if (workspace.SS1.picture(row).isNull()) return;
        firstScreenMs = timer.elapsed();
    });
    timer.start();
    showThumbnailsForNewRows(workspace, nullptr);
    std::printf("%lld %lld\n", static_cast<long long>(firstScreenMs),
                static_cast<long long>(timer.elapsed()));
    return firstScreenMs >= 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 5 && args.at(1) == u"run"_s) return timedRun(args);
    if (args.size() >= 3 && args.at(1) == u"first30"_s) return firstScreen(args);
    std::fprintf(stderr, "usage: thumbnail_bench run FOLDER CACHE_ROOT THREADS [jpeg] | first30 FOLDER\n");
    return 2;
}
