#pragma once

#include "print/print_renderer.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QThreadPool>

#include <future>
#include <memory>

class PrintDocument;

// The pictures of the page on show and of the pages beside it, prepared on worker threads so
// that a page flip draws at once instead of decoding its photos first.
class PreviewPictures : public PictureSupply {
public:
    PreviewPictures() = default;
    ~PreviewPictures() override;
    PreviewPictures(const PreviewPictures&) = delete;
    PreviewPictures& operator=(const PreviewPictures&) = delete;

    // Prepared pictures at once (waiting for one under way); others are decoded now.
    QImage picture(const PictureSource& source, QSize pixels) override;

    // Keeps the pictures of the page and of its neighbours for a device of deviceDpi, starts
    // preparing those missing (the page's own first), and lets go of the rest. Call before
    // drawing the page.
    void keepAround(const PrintDocument& document, int page, double deviceDpi);

private:
    struct Entry {
        std::shared_ptr<const PictureSource> source;
        QSize pixels;
        std::shared_future<QImage> image;
    };
    const Entry* find(const PictureSource& source, QSize pixels) const;

    QList<Entry> entries_;
    QThreadPool pool_;
};
