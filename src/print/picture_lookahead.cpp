#include "print/picture_lookahead.h"

#include "base/picture_reading.h"
#include "print/pdf_pictures.h"
#include "print/print_renderer.h"

#include <QThread>

#include <algorithm>

QList<PagePicture> pagePictures(const PrintDocument& document, int from, int to, double dpi) {
    QList<PagePicture> jobs;
    for (int page = std::max(1, from); page <= std::min(to, document.PageCount()); ++page)
        for (const DrawOp& op : document.page(page))
            if (const auto* picture = std::get_if<PictureOp>(&op))
                jobs.append({picture->picture, picturePixels(*picture, dpi)});
    return jobs;
}

PictureLookahead::PictureLookahead(QList<PagePicture> jobs, Prepare prepare, int threads, int ahead)
    : jobs_(std::move(jobs)), prepare_(std::move(prepare)), ahead_(std::max(1, ahead)) {
    pool_.setMaxThreadCount(std::max(1, threads));
    topUp();
}

PictureLookahead::~PictureLookahead() {
    // Work not started is dropped; work under way finishes before the jobs go away.
    pool_.clear();
    pool_.waitForDone();
}

void PictureLookahead::topUp() {
    while (submitted_ < jobs_.size() && qsizetype(inFlight_.size()) < ahead_) {
        auto task = std::make_shared<std::packaged_task<ReadyPicture()>>(
            [this, index = submitted_] { return prepare_(jobs_.at(index)); });
        inFlight_.push_back(task->get_future());
        pool_.start([task] { (*task)(); });
        ++submitted_;
    }
}

ReadyPicture PictureLookahead::next() {
    if (inFlight_.empty()) return {};
    std::future<ReadyPicture> front = std::move(inFlight_.front());
    inFlight_.pop_front();
    topUp();
    return front.get();
}

namespace {

// A photo read when its page is drawn may have gone since the pages were laid out (a card
// pulled, a share dropped): the reason is taken at once, while the file is as the decoder met it.
ReadyPicture decoded(const PagePicture& job) {
    ReadyPicture ready;
    ready.image = decodePicture(*job.source, job.pixels);
    ready.size = ready.image.size();
    if (ready.image.isNull() && job.source->image.isNull())
        ready.failure = PictureReading::reason(job.source->path);
    return ready;
}

} // namespace

ReadyPicture preparePixels(const PagePicture& job) {
    return decoded(job);
}

ReadyPicture prepareJpeg(const PagePicture& job) {
    ReadyPicture ready = decoded(job);
    if (ready.image.isNull()) return ready;
    ready.jpeg = PdfPictures::encode(ready.image);
    ready.image = {};
    return ready;
}
