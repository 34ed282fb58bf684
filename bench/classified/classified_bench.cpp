// Classified CSV analysis and photo check against a one-pass Python script, side by side in
// one run. CLASSIFIED_BENCH_LINES (default 100000) lines in groups of 40, two photos a line,
// 0.1% of them missing; CLASSIFIED_BENCH_RUNS (default 5) runs of each, medians compared.
#include "base/ansi_codec.h"
#include "survey/classified_check.h"
#include "survey/classified_csv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void python(const QString& script, const QStringList& arguments) {
    QProcess process;
    process.start(u"/usr/bin/python3"_s, QStringList{script} + arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "reference failed: %s\n", process.readAllStandardError().constData());
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int lines = setting("CLASSIFIED_BENCH_LINES", 100000);
    const int runs = setting("CLASSIFIED_BENCH_RUNS", 5);
    const QString script = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/bench/classified/reference.py"_s;
    QTemporaryDir work(QDir::currentPath() + u"/classified-bench-XXXXXX"_s);
    QDir(work.path()).mkdir(u"写真"_s);

    QString text = u"図番,大字,公図名,シート名,地番,備考,近景,遠景,標示\r\n"_s;
    for (int i = 0; i < lines; ++i) {
        const QString g = QString::number(i / 40);
        const QString n = QString::number(i);
        text += u"図"_s + g + u"-"_s + n + u",大字東町"_s + g + u",公図"_s + g + u",シート"_s + g + u","_s +
                n + u"番地,境界杭確認済み,写真\\N"_s + n + u".jpg,写真\\F"_s + n + u".jpg,1\r\n"_s;
        for (const QString& kind : {u"N"_s, u"F"_s}) {
            if ((2 * i + (kind == u"F"_s)) % 1000 == 999) continue; // 0.1% missing
            QFile photo(work.filePath(u"写真/"_s + kind + n + u".jpg"_s));
            if (!photo.open(QIODevice::WriteOnly)) return 1;
        }
    }
    const QString csv = work.filePath(u"crew.csv"_s);
    QFile file(csv);
    if (!file.open(QIODevice::WriteOnly) || file.write(AnsiCodec::encode(text).bytes) < 0) return 1;
    file.close();

    int problems = 0;
    const auto analyse = [&] { readClassifiedCsv(csv, ClassifiedKey::MapName); };
    const auto analyseAndCheck = [&] {
        problems = int(ClassifiedCheck::run(readClassifiedCsv(csv, ClassifiedKey::MapName)).problems.size());
    };
    analyseAndCheck(); // warm the file cache for every contender alike
    std::vector<double> reference, referenceNoFiles, ours, oursAnalysis;
    for (int r = 0; r < runs; ++r) {
        reference.push_back(seconds([&] { python(script, {csv}); }));
        ours.push_back(seconds(analyseAndCheck));
        referenceNoFiles.push_back(seconds([&] { python(script, {csv, u"--no-files"_s}); }));
        oursAnalysis.push_back(seconds(analyse));
    }
    const double ref = median(reference), refNoFiles = median(referenceNoFiles);
    std::printf("%d lines, %d photos missing, medians of %d runs\n", lines, problems, runs);
    std::printf("analysis + check: %.3f s   python reference: %.3f s   ratio %.2f (target <= 0.7)\n",
                median(ours), ref, median(ours) / ref);
    std::printf("analysis alone:   %.3f s   python without file tests: %.3f s   ratio %.2f (target <= 0.3)\n",
                median(oursAnalysis), refNoFiles, median(oursAnalysis) / refNoFiles);
    return 0;
}
