#include "print/preview_pictures.h"

#include "print/picture_lookahead.h"
#include "print/print_document.h"

#include <algorithm>

PreviewPictures::~PreviewPictures() {
    pool_.clear();
    pool_.waitForDone();
}

const PreviewPictures::Entry* PreviewPictures::find(const PictureSource& source, QSize pixels) const {
    const auto found = std::find_if(entries_.cbegin(), entries_.cend(), [&](const Entry& entry) {
        return entry.source.get() == &source && entry.pixels == pixels;
    });
    return found == entries_.cend() ? nullptr : &*found;
}

QImage PreviewPictures::picture(const PictureSource& source, QSize pixels) {
    if (const Entry* entry = find(source, pixels)) return entry->image.get();
    return decodePicture(source, pixels);
}

void PreviewPictures::keepAround(const PrintDocument& document, int page, double deviceDpi) {
    const double dpi = std::min(deviceDpi, PictureDpi);
    // The page about to be drawn first, then the next: flipping forward is what a reader does most.
    QList<PagePicture> wanted = pagePictures(document, page, page + 1, dpi);
    wanted += pagePictures(document, page - 1, page - 1, dpi);
    QList<Entry> kept;
    for (const PagePicture& job : wanted) {
        if (const Entry* entry = find(*job.source, job.pixels)) {
            kept.append(*entry);
            continue;
        }
        auto task = std::make_shared<std::packaged_task<QImage()>>(
            [job] { return decodePicture(*job.source, job.pixels); });
        kept.append({job.source, job.pixels, task->get_future().share()});
        pool_.start([task] { (*task)(); });
    }
    entries_ = std::move(kept);
}
