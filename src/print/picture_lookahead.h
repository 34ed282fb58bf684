#pragma once

#include "print/print_document.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <future>
#include <memory>

// A picture as a page draws it: decoded at the size its frame needs and, for a PDF file,
// already encoded (then the pixels are let go to keep memory down).
struct ReadyPicture {
    QImage image;
    QSize size;
    QByteArray jpeg;
    QString failure; // why a photo file could not be read; empty when it was
};

// One picture of a page to prepare: the source and the pixels its frame needs.
struct PagePicture {
    std::shared_ptr<const PictureSource> source;
    QSize pixels;
};

// The pictures of pages from..to in the order the pages draw them, each at the size it is
// drawn with at dpi.
QList<PagePicture> pagePictures(const PrintDocument& document, int from, int to, double dpi);

// Prepares pictures on worker threads a bounded number ahead of the one being drawn, so that
// decoding runs beside the drawing and memory stays flat however long the album is. The
// results come back in the order of the jobs whatever the number of threads.
class PictureLookahead {
public:
    using Prepare = std::function<ReadyPicture(const PagePicture&)>;

    PictureLookahead(QList<PagePicture> jobs, Prepare prepare, int threads, int ahead);
    ~PictureLookahead();
    PictureLookahead(const PictureLookahead&) = delete;
    PictureLookahead& operator=(const PictureLookahead&) = delete;

    // The next job's picture; waits for it. Past the last job, an empty picture.
    ReadyPicture next();

private:
    void topUp();

    QList<PagePicture> jobs_;
    Prepare prepare_;
    int ahead_;
    qsizetype submitted_ = 0;
    std::deque<std::future<ReadyPicture>> inFlight_;
    QThreadPool pool_;
};

// The two kinds of preparation: pixels for a printer or a screen, JPEG bytes for a PDF file.
ReadyPicture preparePixels(const PagePicture& job);
ReadyPicture prepareJpeg(const PagePicture& job);
