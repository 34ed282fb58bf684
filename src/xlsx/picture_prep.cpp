#include "xlsx/picture_prep.h"

#include "base/photo_file.h"
#include "base/picture_limit.h"
#include "base/picture_reading.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

QSize framePixels(double widthPoints, double heightPoints) {
    constexpr double dpi = 220;
    return QSize(qMax(1, qRound(widthPoints / 72 * dpi)), qMax(1, qRound(heightPoints / 72 * dpi)));
}

namespace {

// The photo's bytes, read whole once; nothing, with the reason in error, when they cannot be.
std::optional<QByteArray> readPhoto(const QString& path, QString& error) {
    QFile file(path);
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly)) {
        error = PictureReading::reason(file.fileName(), QImageReader::DeviceError);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    // Cut short by a card pulled or a share dropped while it was read: not the photo.
    if (file.error() != QFileDevice::NoError) {
        error = PictureReading::reason(file.fileName(), QImageReader::DeviceError);
        return std::nullopt;
    }
    return bytes;
}

} // namespace

PreparedPicture preparePicture(const PictureJob& job) {
    PreparedPicture out;
    const QString name = PhotoFile::resolve(job.path);
    const std::optional<QByteArray> read = readPhoto(name, out.error);
    if (!read) return out;
    const QByteArray& original = *read;
    QBuffer buffer;
    buffer.setData(original);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    QSize size = reader.size();
    if (format.isEmpty() || !size.isValid()) {
        out.error = PictureReading::reason(name, QImageReader::UnsupportedFormatError);
        return out;
    }
    if (!PictureLimit::allows(reader)) {
        out.error = PictureLimit::TooLarge;
        return out;
    }
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    QSize frame = job.framePixels;
    if (turned) frame.transpose(); // the frame as the stored, unturned image sees it
    const bool isJpeg = format == "jpeg" || format == "jpg";
    const bool isGif = format == "gif";
    const bool fits = size.width() <= frame.width() && size.height() <= frame.height();
    // Spreadsheet programs show both kinds; encoding again would only grow the file.
    if ((isJpeg || isGif) && fits && reader.transformation() == QImageIOHandler::TransformationNone) {
        out.bytes = original;
        out.extension = isJpeg ? u"jpeg"_s : u"gif"_s;
        return out;
    }
    if (!fits) {
        // The picture is stretched into its frame anyway, so the frame's pixels are all it needs.
        reader.setScaledSize(frame.boundedTo(size));
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        out.error = PictureReading::reason(name, reader.error());
        return out;
    }
    QBuffer encoded(&out.bytes);
    encoded.open(QIODevice::WriteOnly);
    const bool png = isGif || image.hasAlphaChannel();
    QImageWriter writer(&encoded, png ? "png" : "jpeg");
    if (!png) writer.setQuality(85);
    if (!writer.write(png ? image : image.convertToFormat(QImage::Format_RGB32))) {
        out.error = u"画像を変換できません"_s;
        out.bytes.clear();
        return out;
    }
    out.extension = png ? u"png"_s : u"jpeg"_s;
    return out;
}

QList<PreparedPicture> preparePictures(const QList<PictureJob>& jobs, int threads, const Progress& progress) {
    QList<PreparedPicture> results(jobs.size());
    std::atomic<int> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable changed;
    int done = 0;
    const auto work = [&] {
        for (int i = next++; i < jobs.size() && !stop; i = next++) {
            PreparedPicture picture = preparePicture(jobs[i]);
            std::lock_guard lock(mutex);
            results[i] = std::move(picture);
            ++done;
            changed.notify_all();
        }
    };
    std::vector<std::thread> workers;
    for (int t = 0; t < qMax(1, qMin(threads, int(jobs.size()))); ++t)
        workers.emplace_back(work);
    const auto joinAll = [&] {
        for (std::thread& t : workers)
            t.join();
    };
    for (;;) {
        int finished;
        {
            std::unique_lock lock(mutex);
            changed.wait_for(lock, std::chrono::milliseconds(50));
            finished = done;
        }
        try {
            progress.report({{}, finished, jobs.size()});
        } catch (...) {
            stop = true;
            joinAll();
            throw;
        }
        if (finished == jobs.size()) break;
    }
    joinAll();
    return results;
}
