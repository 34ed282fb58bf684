// SIMA loaders against a one-pass mawk script on the same files, side by side in one run:
// 100,000 padded A01 points (half without H), 20,000 parcels of 5 B01 + C03, and a PM file of
// 100,000 lines, all CP932.
#include "base/ansi_codec.h"
#include "survey/sima_pm_file.h"
#include "survey/sima_reader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Points = 100000;
constexpr int Parcels = 20000;
constexpr int Runs = 7;

const char* MawkScript = R"(BEGIN { FS = "," }
$1 == "A01" { n = $3; sub(/ +$/, "", n); X[n] = $4; Y[n] = $5; H[n] = $6; points++ }
$1 == "D00" { parcel = $3; sub(/ +$/, "", parcel); parcels++ }
$1 == "B01" { m = $3; sub(/ +$/, "", m); member[++members] = parcel SUBSEP m }
END { print points, parcels, members }
)";

void write(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(AnsiCodec::encode(text).bytes);
}

QString pointName(int i) {
    // Half-width kana like the data collectors write, padded to 20 bytes.
    return (i % 3 == 0 ? u"ｻｲ-"_s : u"ZT"_s) + QString::number(i);
}

void makeFiles(const QDir& dir) {
    QString sima;
    sima.reserve(16 * 1000 * 1000);
    sima += u"G00,01,ベンチ,\r\nZ00,座標ﾃﾞｰﾀ,\r\nA00,\r\n"_s;
    for (int i = 1; i <= Points; ++i) {
        const QString h =
            i % 2 == 0 ? QString() : QString::number(i % 100 + 0.125, 'f', 3).rightJustified(10);
        sima += u"A01,"_s + QString::number(i).rightJustified(6) + u","_s + pointName(i).leftJustified(20) +
                u","_s + QString::number(-39000.0 - i * 0.013, 'f', 3).rightJustified(11) + u","_s +
                QString::number(60000.0 + i * 0.007, 'f', 3).rightJustified(11) + u","_s + h + u",\r\n"_s;
    }
    sima += u"A99,\r\n"_s;
    for (int p = 1; p <= Parcels; ++p) {
        sima += u"D00,"_s + QString::number(p).rightJustified(6) + u","_s +
                QString(QString::number(p) + u"-1"_s).leftJustified(10) + u",1,\r\n"_s;
        for (int k = 0; k < 5; ++k) {
            const int point = (p - 1) * 5 + k + 1;
            sima += u"B01,"_s + QString::number(point).rightJustified(6) + u","_s +
                    pointName(point).leftJustified(20) + u",\r\nC03,    4.533,299.5752,\r\n"_s;
        }
        sima += u"D99,\r\n"_s;
    }
    write(dir.filePath(u"bench.sim"_s), sima);
    QString pm;
    for (int i = 1; i <= Points; ++i)
        pm += pointName(i) + u","_s + QString::number(i % 9) + u"\r\n"_s;
    write(dir.filePath(u"bench_pm.csv"_s), pm);
}

double median(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    makeFiles(QDir(dir.path()));
    const QString sima = dir.filePath(u"bench.sim"_s);
    const QString pm = dir.filePath(u"bench_pm.csv"_s);
    const QString script = dir.filePath(u"reference.awk"_s);
    QFile scriptFile(script);
    if (!scriptFile.open(QIODevice::WriteOnly)) return 1;
    scriptFile.write(MawkScript);
    scriptFile.close();

    QString mawkCounts;
    const double mawk = median([&] {
        QProcess p;
        p.start(u"mawk"_s, {u"-f"_s, script, sima});
        p.waitForFinished(-1);
        mawkCounts = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    });
    if (mawkCounts.isEmpty()) {
        out << "mawk is missing\n";
        return 1;
    }

    qsizetype counts[4] = {};
    // What the dialogs run: the PM file, then the SIMA file read once for its three tables.
    const double shared = median([&] {
        const PmFile pmFile = LoadPmFile(pm);
        const SimaFile file = SimaReader::read(sima);
        const SimaPoints points = indexPoints(file.points);
        const ParcelTables tables = parcelTables(file);
        const QList<SimaParcelPoint> boundary = boundaryPoints(file, &pmFile);
        counts[0] = points.index.size();
        counts[1] = tables.parcels.size();
        counts[2] = tables.members.size();
        counts[3] = boundary.size();
    });
    // Each loader on its own, reading the file itself.
    const double separate = median([&] {
        const PmFile pmFile = LoadPmFile(pm);
        const SimaPoints points = LoadSimaPoints(sima);
        const ParcelTables tables = LoadParcels(sima);
        const QList<SimaParcelPoint> boundary = LoadBoundaryPoints(sima, &pmFile);
        counts[0] = points.index.size() + tables.members.size() + boundary.size();
    });
    const double readOnly = median([&] { counts[0] = SimaReader::read(sima).points.size(); });

    out << "files: " << QFileInfo(sima).size() / 1e6 << " MB SIMA, " << QFileInfo(pm).size() / 1e6
        << " MB PM\n";
    out << "mawk one pass (points, parcels, members): " << mawkCounts << "\n";
    out << "medians of " << Runs << " runs\n";
    out << QString::asprintf("  mawk reference                      %7.3f s\n", mawk);
    out << QString::asprintf("  SIMA read, one pass                 %7.3f s  %.2fx mawk\n", readOnly,
                             readOnly / mawk);
    out << QString::asprintf("  four loaders, SIMA read once        %7.3f s  %.2fx mawk\n", shared,
                             shared / mawk);
    out << QString::asprintf("  four loaders, each reading the file %7.3f s  %.2fx mawk\n", separate,
                             separate / mawk);
    return 0;
}
