// check-delivery of a PHOTO folder against xmllint (DTD validation of the index) plus one
// ImageMagick identify -ping over every photo (size and DateTimeOriginal), side by side in one
// run. CHECK_BENCH_PHOTOS (default 2000) photos of 1600x1200 with Exif; CHECK_BENCH_RUNS (5).
#include "base/ansi_codec.h"
#include "base/shipped_files.h"
#include "delivery/folder_check.h"
#include "delivery/photo_xml.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace {

int setting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

double milliseconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// A camera-like JPEG: APP1 Exif with DateTimeOriginal right after the start of image.
QByteArray photo() {
    QImage image(1600, 1200, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 1600, 1200);
    gradient.setColorAt(0, Qt::darkGreen);
    gradient.setColorAt(1, Qt::lightGray);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    const QByteArray date = "2024:06:01 09:30:00";
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0\x69\x87\x04\0\x01\0\0\0\x1A\0\0\0\0\0\0\0", 18); // IFD0: Exif pointer
    tiff += QByteArray("\x01\0\x03\x90\x02\0\x14\0\0\0\x2C\0\0\0\0\0\0\0", 18); // DateTimeOriginal
    tiff += date + '\0';
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray app1("\xFF\xE1", 2);
    app1.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xFF));
    return buffer.data().left(2) + app1 + body + buffer.data().mid(2);
}

QString index(int photos) {
    QString xml = PhotoXml::header(Version::V05, PhotoStandard::defaultStandard(Version::V05));
    FieldBuffer info(QStringList{{},
                                 {},
                                 {},
                                 {},
                                 {},
                                 {},
                                 {},
                                 {},
                                 {},
                                 u"道路土工 掘削工 No.12+5.0 床掘完了"_s,
                                 u"掘削深さを確認した。地山の状態は良好で湧水なし。"_s.repeated(3),
                                 u"工事"_s,
                                 u"2024-06-01"_s,
                                 u"施工状況写真"_s,
                                 u"道路土工"_s,
                                 u"掘削工"_s,
                                 u"土砂掘削"_s,
                                 u"No.12+5.0 付近 右側"_s,
                                 u"設計 1.50m 実測 1.52m 規格値 ±50mm"_s.repeated(3)});
    for (int serial = 1; serial <= photos; ++serial) {
        PhotoXml::Values values = PhotoXml::photoValues(serial, info);
        values.insert(u"代表写真"_s, u"0"_s);
        values.insert(u"提出頻度写真"_s, u"0"_s);
        xml += PhotoXml::photoBlock(Version::V05, values);
    }
    return xml + PhotoXml::footer();
}

double runTools(const QString& folder, const QStringList& pictures) {
    return milliseconds([&] {
        QProcess xmllint;
        xmllint.setWorkingDirectory(folder);
        xmllint.start(u"xmllint"_s, {u"--noout"_s, u"--dtdvalid"_s, u"PHOTO05.DTD"_s, u"PHOTO.XML"_s});
        QProcess identify;
        identify.setWorkingDirectory(folder);
        identify.start(u"identify"_s,
                       QStringList{u"-ping"_s, u"-format"_s, u"%w %h %[EXIF:DateTimeOriginal]\n"_s} +
                           pictures);
        for (QProcess* process : {&xmllint, &identify})
            if (!process->waitForFinished(-1) || process->exitCode() != 0) {
                std::fprintf(stderr, "%s failed: %s\n", qPrintable(process->program()),
                             process->readAllStandardError().left(300).constData());
                std::exit(1);
            }
    });
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int photos = setting("CHECK_BENCH_PHOTOS", 2000);
    const int runs = setting("CHECK_BENCH_RUNS", 5);
    QTemporaryDir work(QDir::currentPath() + u"/check-bench-XXXXXX"_s);
    const QDir folder(work.filePath(u"PHOTO"_s));
    QDir().mkpath(folder.filePath(u"PIC"_s));
    QDir().mkpath(folder.filePath(u"DRA"_s));
    const QByteArray jpeg = photo();
    QStringList pictures;
    for (int serial = 1; serial <= photos; ++serial) {
        pictures << u"PIC/"_s + PhotoXml::serialFileName(serial);
        writeFile(folder.filePath(pictures.last()), jpeg);
    }
    const QByteArray xml = AnsiCodec::encode(index(photos)).bytes;
    writeFile(folder.filePath(u"PHOTO.XML"_s), xml);
    QFile::copy(ShippedFiles::find(QCoreApplication::applicationDirPath(), u"PHOTO05.DTD"_s),
                folder.filePath(u"PHOTO05.DTD"_s));

    // Warm the cache and make sure both sides accept the folder.
    const FolderCheck::Result first = FolderCheck::check(folder.path());
    if (!first.findings.isEmpty()) {
        std::fprintf(stderr, "unexpected finding: %s\n", qPrintable(Findings::line(first.findings.first())));
        return 1;
    }
    runTools(folder.path(), pictures);

    std::vector<double> ours, tools;
    for (int run = 0; run < runs; ++run) {
        ours.push_back(milliseconds([&] { FolderCheck::check(folder.path()); }));
        tools.push_back(runTools(folder.path(), pictures));
    }
    std::printf("check-delivery: %d photos of 1600x1200 (%.1f KB each), index %.2f MB, %d runs\n", photos,
                jpeg.size() / 1024.0, xml.size() / 1048576.0, runs);
    std::printf("  ours (FolderCheck)            median %8.1f ms\n", median(ours));
    std::printf("  xmllint + identify -ping      median %8.1f ms\n", median(tools));
    std::printf("  ratio ours / reference        %8.3f (target <= 0.5)\n", median(ours) / median(tools));
    return 0;
}
