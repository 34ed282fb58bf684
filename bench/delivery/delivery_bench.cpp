// Delivery export against cp + sync of the same photos, measured side by side in one run.
// DELIVERY_BENCH_PHOTOS (default 500) photos of 3 to 5 MB; DELIVERY_BENCH_RUNS (default 3).
#include "base/shipped_files.h"
#include "delivery/delivery_export.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>

using namespace Qt::StringLiterals;

namespace {

int setting(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

double seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

void runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        std::exit(1);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int photos = setting("DELIVERY_BENCH_PHOTOS", 500);
    const int runs = setting("DELIVERY_BENCH_RUNS", 3);
    QTemporaryDir work(QDir::currentPath() + u"/delivery-bench-XXXXXX"_s);

    std::mt19937_64 random(42);
    std::uniform_int_distribution<int> size(3 * 1024 * 1024, 5 * 1024 * 1024);
    QDir(work.path()).mkdir(u"photos"_s);
    QList<AlbumRow> rows;
    QStringList files;
    qint64 total = 0;
    for (int i = 1; i <= photos; ++i) {
        QByteArray bytes(size(random), Qt::Uninitialized);
        for (qsizetype at = 0; at + 8 <= bytes.size(); at += 8) {
            const quint64 value = random();
            std::memcpy(bytes.data() + at, &value, 8);
        }
        const QString path = work.filePath(u"photos/IMG_%1.JPG"_s.arg(i, 4, 10, QChar(u'0')));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return 1;
        AlbumRow row;
        row.path = path;
        row.info = u"No.%1\r\n"_s.arg(i);
        rows << row;
        files << path;
        total += bytes.size();
    }
    runTool(u"sync"_s, {});
    std::printf("%d photos, %.0f MB, %d runs\n", photos, total / 1048576.0, runs);

    DeliveryRequest request;
    request.sheetRows = rows;
    request.dtdPath = ShippedFiles::find(work.path(), DeliveryExport::DtdName);
    std::vector<double> copyTimes, exportTimes;
    for (int run = 0; run < runs; ++run) {
        const QString copyTarget = work.filePath(u"cp"_s);
        const QString exportTarget = work.filePath(u"export"_s);
        QDir().mkpath(copyTarget);
        QDir().mkpath(exportTarget);
        request.folder = exportTarget;
        const auto copy = [&] {
            copyTimes.push_back(seconds([&] {
                runTool(u"cp"_s, files + QStringList{copyTarget});
                runTool(u"sync"_s, {});
            }));
        };
        const auto exportRun = [&] { exportTimes.push_back(seconds([&] { DeliveryExport::run(request); })); };
        // Alternating which goes first evens out cache and disk warm-up.
        if (run % 2 == 0) {
            copy();
            exportRun();
        } else {
            exportRun();
            copy();
        }
        std::printf("run %d: cp+sync %.2f s, export %.2f s\n", run + 1, copyTimes.back(), exportTimes.back());
        QDir(copyTarget).removeRecursively();
        QDir(exportTarget).removeRecursively();
        runTool(u"sync"_s, {});
    }
    const double copyMedian = median(copyTimes), exportMedian = median(exportTimes);
    std::printf("median cp+sync %.2f s, export %.2f s, ratio %.2f (target at most 1.10)\n", copyMedian,
                exportMedian, exportMedian / copyMedian);
    return 0;
}
