// Writes camera-like photos for the thumbnail benchmark: 4000x3000 JPEGs of quality 90 in
// 4:2:0 and 4:2:2 (encoded by cjpeg) carrying Exif data as cameras write it (an orientation,
// 6 on every fifth one, and a 160x120 preview), plus a few BMP and GIF files.
//   make_bench_images FOLDER [COUNT]
//   make_bench_images strip FROM TO    copies the JPEGs of FROM to TO without their previews
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// A sky gradient, a textured ground, a few solid shapes and sensor noise: costs the decoder
// about what a site photo does.
QImage scene(int seed, QSize size) {
    QRandomGenerator random(quint32(seed) * 7919u + 1);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height() / 2);
    sky.setColorAt(0, QColor::fromHsv(200 + seed % 30, 120, 250));
    sky.setColorAt(1, QColor::fromHsv(210, 40, 230));
    painter.fillRect(0, 0, size.width(), size.height() / 2, sky);
    painter.fillRect(0, size.height() / 2, size.width(), size.height() / 2, QColor(110, 95, 70));
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(
            QColor::fromHsv(random.bounded(360), 60 + random.bounded(150), 80 + random.bounded(170)));
        painter.setPen(Qt::NoPen);
        const QRect box(random.bounded(size.width()), random.bounded(size.height()), 50 + random.bounded(900),
                        50 + random.bounded(700));
        if (i % 2)
            painter.drawEllipse(box);
        else
            painter.drawRect(box);
    }
    painter.end();
    quint32 state = quint32(seed) * 2654435761u + 12345u;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int texture = y > size.height() / 2 ? 24 : 6;
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int n = int(state >> 27) * texture / 32 - texture / 2;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + n, 0, 255), std::clamp(qGreen(p) + n, 0, 255),
                           std::clamp(qBlue(p) + n, 0, 255));
        }
    }
    return image;
}

void putBigEndian(QByteArray& bytes, quint32 value, int width) {
    for (int i = width - 1; i >= 0; --i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

// Big-endian TIFF: IFD0 at 8 holds the orientation and chains to IFD1 at 26, whose two
// entries say where the preview stands (56) and how long it is.
QByteArray exifSegment(int orientation, const QByteArray& preview) {
    QByteArray tiff("MM\0*", 4);
    putBigEndian(tiff, 8, 4);
    putBigEndian(tiff, 1, 2);
    putBigEndian(tiff, 0x0112, 2); // Orientation, one SHORT standing in the entry
    putBigEndian(tiff, 3, 2);
    putBigEndian(tiff, 1, 4);
    putBigEndian(tiff, quint32(orientation) << 16, 4);
    putBigEndian(tiff, 26, 4);
    putBigEndian(tiff, 2, 2);
    for (const quint32 tag : {0x0201u, 0x0202u}) {
        putBigEndian(tiff, tag, 2);
        putBigEndian(tiff, 4, 2);
        putBigEndian(tiff, 1, 4);
        putBigEndian(tiff, tag == 0x0201u ? 56 : quint32(preview.size()), 4);
    }
    putBigEndian(tiff, 0, 4);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff + preview;
    const int length = int(payload.size()) + 2;
    return QByteArray("\xFF\xE1") + char(length >> 8) + char(length & 0xFF) + payload;
}

QByteArray previewOf(const QImage& image) {
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(&buffer, "JPEG", 80);
    return jpeg;
}

// The same photo without its preview: IFD0 no longer chains to IFD1.
QByteArray withoutPreview(QByteArray jpeg) {
    const qsizetype exif = jpeg.indexOf(QByteArray("Exif\0\0MM", 8));
    if (exif > 0 && exif < 64) {
        const qsizetype next = exif + 6 + 22;
        for (int i = 0; i < 4; ++i)
            jpeg[next + i] = 0;
    }
    return jpeg;
}

int strip(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList({u"*.JPG"_s}, QDir::Files, QDir::Name)) {
        QFile in(QDir(from).filePath(name));
        QFile out(QDir(to).filePath(name));
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)) return 1;
        out.write(withoutPreview(in.readAll()));
    }
    return 0;
}

bool writeJpeg(const QImage& image, const QString& path, const char* sampling, bool turned) {
    const QString ppm = path + u".ppm"_s;
    if (!image.save(ppm, "PPM")) return false;
    QProcess cjpeg;
    cjpeg.start(u"cjpeg"_s, {u"-quality"_s, u"90"_s, u"-sample"_s, QString::fromLatin1(sampling), ppm});
    cjpeg.waitForFinished(-1);
    QFile::remove(ppm);
    QByteArray jpeg = cjpeg.readAllStandardOutput();
    if (cjpeg.exitCode() != 0 || jpeg.size() < 4) return false;
    jpeg.insert(2, exifSegment(turned ? 6 : 1, previewOf(image)));
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(jpeg) == jpeg.size();
}

// GIF with 9-bit codes and a clear code before the table would grow: large, but any reader
// takes it, and Qt has no GIF writer.
bool writeGif(const QImage& source, const QString& path) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QByteArray gif("GIF89a");
    const auto word = [&gif](int v) { gif.append(char(v & 0xFF)).append(char(v >> 8)); };
    word(image.width());
    word(image.height());
    gif.append(char(0xF7)).append('\0').append('\0');
    for (int i = 0; i < 256; ++i) {
        const int c = std::min(i, 215);
        gif.append(char(c / 36 * 51)).append(char(c / 6 % 6 * 51)).append(char(c % 6 * 51));
    }
    gif.append(char(0x2C));
    word(0);
    word(0);
    word(image.width());
    word(image.height());
    gif.append('\0').append(char(8));

    QByteArray data;
    quint32 bits = 0;
    int count = 0;
    const auto code = [&](int value) {
        bits |= quint32(value) << count;
        count += 9;
        while (count >= 8) {
            data.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    int sinceClear = 0;
    code(256);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (sinceClear == 253) {
                code(256);
                sinceClear = 0;
            }
            const QRgb p = line[x];
            code(qRed(p) * 6 / 256 * 36 + qGreen(p) * 6 / 256 * 6 + qBlue(p) * 6 / 256);
            ++sinceClear;
        }
    }
    code(257);
    if (count > 0) data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        gif.append(char(block.size())).append(block);
    }
    gif.append('\0').append(char(0x3B));
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(gif) == gif.size();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == u"strip"_s) return strip(args.at(2), args.at(3));
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_bench_images FOLDER [COUNT] | strip FROM TO\n");
        return 1;
    }
    const QDir folder(args.at(1));
    QDir().mkpath(folder.path());
    const int count = args.size() > 2 ? args.at(2).toInt() : 200;

    QThreadPool pool;
    pool.setMaxThreadCount(2);
    std::atomic<int> failures = 0;
    for (int i = 0; i < count; ++i) {
        pool.start([&, i] {
            const QString name = u"IMG_%1.JPG"_s.arg(i + 1, 4, 10, QChar(u'0'));
            if (!writeJpeg(scene(i, {4000, 3000}), folder.filePath(name), i % 2 ? "2x1" : "2x2", i % 5 == 4))
                ++failures;
        });
    }
    for (int i = 0; i < 3; ++i) {
        pool.start([&, i] {
            if (!scene(1000 + i, {1600, 1200}).save(folder.filePath(u"scan_%1.bmp"_s.arg(i + 1)), "BMP"))
                ++failures;
            if (!writeGif(scene(2000 + i, {1024, 768}), folder.filePath(u"plan_%1.gif"_s.arg(i + 1))))
                ++failures;
        });
    }
    pool.waitForDone();
    if (failures > 0)
        std::fprintf(stderr, "%d images could not be written (is cjpeg installed?)\n", int(failures));
    return failures > 0 ? 1 : 0;
}
