// Times the preview's page flips over an album: each flip from the button to the page drawn,
// once flipping at a reader's pace (a pause between flips) and once as fast as possible.
//   preview_flip_bench ALBUM.dat [PAUSE_MS]   (the settings of TOVENLA_HOME)
#include "album/album_file.h"
#include "print/preview_document.h"
#include "print/print_document.h"
#include "print/ui/preview_surface.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    const int pause = argc > 2 ? std::atoi(argv[2]) : 300;
    Workspace workspace(qEnvironmentVariable("TOVENLA_HOME"));
    ProgramFiles::readSettings(workspace);
    workspace.SS1.setRows(AlbumFile::load(QString::fromLocal8Bit(argv[1]), workspace.AlbumMaxRows));
    workspace.UpdateRowTotal();
    PrintDocument document;
    PreviewDocument::build(document, workspace, PreviewDocument::Album);
    PreviewSurface surface(document);
    surface.refresh();
    surface.grab();
    for (const int wait : {pause, 0}) {
        QList<double> times;
        for (int page = 2; page <= document.PageCount(); ++page) {
            QThread::msleep(wait);
            QElapsedTimer timer;
            timer.start();
            document.setPreviewPage(page);
            surface.refresh();
            surface.grab();
            times.append(timer.nsecsElapsed() / 1e9);
        }
        document.setPreviewPage(1);
        std::sort(times.begin(), times.end());
        std::printf("flip after %d ms: median %.3f s, max %.3f s over %lld flips\n", wait,
                    times.at(times.size() / 2), times.last(), static_cast<long long>(times.size()));
    }
    return 0;
}
