#include "survey/sima_batch.h"

#include "base/row_ranges.h"

#include "album/album_file.h"
#include "album/blackboard_lines.h"
#include "base/album_lock.h"
#include "base/output_guard.h"
#include "survey/import_capacity.h"
#include "survey/parcel_import.h"
#include "survey/real_estate_report.h"
#include "survey/sima_pm_file.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDate>
#include <QDir>
#include <QLocale>
#include <QThread>

#include <map>
#include <set>

using namespace Qt::StringLiterals;

namespace SimaBatch {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString plain(const QString& message) {
    return QString(message).replace(u"\r\n"_s, u"\n"_s);
}

// Positional words and "--name value" options; an option not in `known` is refused.
struct Words {
    QStringList positional;
    std::map<QString, QString> options;

    Words(const QStringList& arguments, const QStringList& known) {
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QString& word = arguments.at(i);
            if (!word.startsWith(u"--"_s)) {
                positional << word;
                continue;
            }
            if (!known.contains(word)) throw BatchUsageError(u"不明なオプションです: "_s + word);
            if (i + 1 >= arguments.size()) throw BatchUsageError(word + u" に値がありません。"_s);
            options[word] = arguments.at(++i);
        }
    }
    QString option(const QString& name, const QString& fallback) const {
        const auto it = options.find(name);
        return it == options.end() ? fallback : it->second;
    }
};

void readSettings(Workspace& workspace) {
    ProgramFiles::readSettings(workspace);
    workspace.AlbumMaxRows = ProgramFiles::capacityFromSettings(workspace);
}

// Warnings and the capacity note on stderr; 3 when anything was left out.
int finish(const ParcelRows::Result& result, int maxRows, QTextStream& err) {
    for (const QString& warning : result.warnings)
        err << warning << u'\n';
    if (result.pointsLeftOut > 0)
        err << ImportCapacity::commandLineNote(result.pointsLeftOut, maxRows) << u'\n';
    return result.warnings.isEmpty() && result.pointsLeftOut == 0 ? 0 : 3;
}

// The album is written only where it replaces none of the run's inputs or photos.
void saveAlbum(const QString& albumPath, QList<AlbumRow> rows, OutputGuard guard,
               const Workspace& workspace) {
    for (const AlbumRow& row : rows)
        guard.keep(row.path, OutputGuard::Photo);
    ProgramFiles::keep(guard, workspace).check(albumPath);
    const AlbumLock lock(albumPath);
    BlackboardLines::fillPlaced(workspace, rows, 1, int(rows.size()));
    AlbumFile::save(albumPath, rows);
}

ParcelTables listedParcels(const QString& path) {
    ParcelTables tables = LoadParcels(path);
    if (tables.listsNoPoint()) throw AppError(SimaReader::NoParcels + u'\n' + shown(path));
    return tables;
}

int importParcels(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                  QTextStream& err) {
    bool noBlackboard = false;
    const Words words(withoutOption(arguments, NoBlackboardOption, noBlackboard),
                      {u"--pm"_s, u"--folder"_s, u"--prefix"_s, u"--line1"_s});
    if (words.positional.size() != 2)
        throw BatchUsageError(u"import-parcels には SIMA ファイルとアルバムファイルを指定して下さい。"_s);
    const QString& simaPath = words.positional.at(0);
    const QString& albumPath = words.positional.at(1);
    Workspace workspace(programFolder);
    workspace.FillFromBlackboard = !noBlackboard;
    readSettings(workspace);
    ParcelRows::BoundaryTexts texts = ParcelImport::boundaryTextsFromSettings(workspace);
    texts.folder = words.option(u"--folder"_s, texts.folder);
    texts.prefix = words.option(u"--prefix"_s, texts.prefix);
    texts.line1 = words.option(u"--line1"_s, texts.line1);

    std::optional<PmFile> pm;
    if (words.options.count(u"--pm"_s)) pm = LoadPmFile(words.options.at(u"--pm"_s));
    const QList<SimaParcelPoint> points = LoadBoundaryPoints(simaPath, pm ? &*pm : nullptr);
    if (points.isEmpty()) throw AppError(SimaReader::NoParcels + u'\n' + shown(simaPath));
    const ParcelRows::Result result = ParcelRows::boundaryRows(points, texts, workspace.AlbumMaxRows);
    OutputGuard inputs;
    inputs.keep(simaPath, OutputGuard::Survey).keep(words.option(u"--pm"_s, {}), OutputGuard::PmFile);
    saveAlbum(albumPath, result.rows, inputs, workspace);
    out << shown(albumPath) << u": "_s << result.rows.size() << u" 行（境界点 "_s
        << points.size() - result.pointsLeftOut << u" 点）\n"_s;
    return finish(result, workspace.AlbumMaxRows, err);
}

int parcelList(const QStringList& arguments, const QString&, QTextStream& out, QTextStream&) {
    if (arguments.size() != 1)
        throw BatchUsageError(u"parcel-list には SIMA ファイルを一つ指定して下さい。"_s);
    const ParcelTables tables = listedParcels(arguments.at(0));
    for (qsizetype i = 0; i < tables.parcels.size(); ++i)
        out << i + 1 << u'\t' << tables.parcels.at(i).Name << u'\t' << tables.parcels.at(i).pointCount()
            << u'\n';
    return 0;
}

int parcelAlbum(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                QTextStream& err) {
    bool noBlackboard = false;
    const Words words(withoutOption(arguments, NoBlackboardOption, noBlackboard),
                      {u"--parcels"_s, u"--folder"_s});
    if (words.positional.size() != 2 || !words.options.count(u"--parcels"_s))
        throw BatchUsageError(
            u"parcel-album には SIMA ファイル、アルバムファイルと --parcels を指定して下さい。"_s);
    const QString& simaPath = words.positional.at(0);
    const QString& albumPath = words.positional.at(1);
    Workspace workspace(programFolder);
    workspace.FillFromBlackboard = !noBlackboard;
    readSettings(workspace);
    const ParcelTables tables = listedParcels(simaPath);
    const QList<int> rows = parcelRowsFromList(words.options.at(u"--parcels"_s), int(tables.parcels.size()));
    const QString folder =
        words.option(u"--folder"_s, workspace.settings.itemText(SettingItem::SimaPhotoFolder));
    const ParcelRows::Result result = ParcelRows::parcelRows(tables, rows, folder, workspace.AlbumMaxRows);
    if (result.rows.isEmpty())
        throw AppError(u"選んだ画地に点がありません。アルバムファイルは作りませんでした。"_s);
    OutputGuard inputs;
    inputs.keep(simaPath, OutputGuard::Survey);
    saveAlbum(albumPath, result.rows, inputs, workspace);
    out << shown(albumPath) << u": "_s << result.rows.size() << u" 行\n"_s;
    return finish(result, workspace.AlbumMaxRows, err);
}

int parcelReport(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                 QTextStream& err) {
    const Words words(arguments, {u"--parcels"_s, u"--folder"_s, u"--type"_s, u"--date"_s, u"--out"_s});
    if (words.positional.size() != 1 || !words.options.count(u"--parcels"_s))
        throw BatchUsageError(u"parcel-report には SIMA ファイルと --parcels を指定して下さい。"_s);
    Workspace workspace(programFolder);
    readSettings(workspace);
    const Settings& s = workspace.settings;
    RealEstateReport::Request request;
    request.tables = listedParcels(words.positional.at(0));
    ProgramFiles::keep(request.guard, workspace).keep(words.positional.at(0), OutputGuard::Survey);
    request.parcels =
        parcelRowsFromList(words.options.at(u"--parcels"_s), int(request.tables.parcels.size()));
    request.folder = words.option(u"--folder"_s, s.itemText(SettingItem::SimaPhotoFolder));
    const QString type =
        words.option(u"--type"_s, s.text(SettingText::RealEstateReportType) == u"1"_s ? u"2"_s : u"1"_s);
    if (type != u"1"_s && type != u"2"_s) throw BatchUsageError(u"--type は 1 か 2 です: "_s + type);
    request.type2 = type == u"2"_s;
    request.date = words.option(u"--date"_s, QDate::currentDate().toString(u"yyyy/MM/dd"_s));
    request.nearSuffix = s.itemText(SettingItem::NearSuffix);
    request.farSuffix = s.itemText(SettingItem::FarSuffix);
    request.programFolder = programFolder;
    request.threads = qMax(1, QThread::idealThreadCount());
    const QString output =
        words.option(u"--out"_s, ParcelRows::photoPath(request.folder.isEmpty() ? u"."_s : request.folder,
                                                       RealEstateReport::OutputName));
    RealEstateReport::Summary summary;
    if (const auto failure = RealEstateReport::run(request, output, {}, &summary)) {
        err << plain(failure->message) << u'\n';
        for (const QString& detail : failure->details())
            err << plain(detail) << u'\n';
        return 1;
    }
    out << shown(output) << u": "_s << request.parcels.size() << u" 画地、写真 "_s << summary.photos
        << u" 枚"_s;
    if (summary.missingPhotos > 0) out << u"（写真ファイルのない枠 "_s << summary.missingPhotos << u"）"_s;
    out << u'\n';
    for (const QString& note : summary.notes)
        err << plain(note) << u'\n';
    // Frames left without their photo are photos left out, as the help says of status 3.
    return summary.missingPhotos > 0 ? 3 : 0;
}

QString number(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

int simaPoints(const QStringList& arguments, const QString&, QTextStream& out, QTextStream& err) {
    if (arguments.isEmpty()) throw BatchUsageError(u"sima-points には SIMA ファイルを指定して下さい。"_s);
    const SimaPoints loaded = LoadSimaPoints(arguments.at(0));
    const auto print = [&](const SimaPoint& p) {
        out << rightTrimmed(p.Name) << u'\t' << number(p.X) << u'\t' << number(p.Y) << u'\t'
            << (p.HasHeight ? number(p.H) : QString()) << u'\n';
    };
    if (arguments.size() == 1) {
        for (const SimaPoint& p : loaded.points)
            print(p);
        return 0;
    }
    int unknown = 0;
    for (const QString& name : arguments.mid(1)) {
        if (const auto record = FindPointByName(loaded.index, name)) {
            print(loaded.points.at(*record - 1));
        } else {
            err << u"点が見つかりません: "_s << name << u'\n';
            ++unknown;
        }
    }
    return unknown == 0 ? 0 : 3;
}

} // namespace

QList<int> parcelRowsFromList(const QString& list, int count) {
    std::set<int> rows;
    for (const RowRange& range : parseRowRanges(list, count, u"--parcels"_s))
        for (int r = range.first; r <= range.last; ++r)
            rows.insert(r);
    return {rows.begin(), rows.end()};
}

QList<BatchCommand> commands() {
    return {
        {u"import-parcels"_s,
         u"  tovenla2 import-parcels FILE.SIM ALBUM.dat [--pm PM.CSV] [--folder DIR] [--prefix TEXT]\n"
         u"                          [--line1 TEXT]\n"
         u"      SIMA ファイルの境界点（ZT…）を 1 点 2 行（近景・遠景）でアルバムファイルにします。\n"
         u"      --pm がなければ標識コードはすべて 0 です。省略時の値は設定の項目 29, 30, 43 です。\n"_s,
         importParcels},
        {u"parcel-list"_s,
         u"  tovenla2 parcel-list FILE.SIM\n"
         u"      画地の一覧を「行、画地名、点数」のタブ区切りで出力します。\n"_s,
         parcelList},
        {u"parcel-album"_s,
         u"  tovenla2 parcel-album FILE.SIM ALBUM.dat --parcels ROWS [--folder DIR]\n"
         u"      選んだ画地の点を 1 点 1 行でアルバムファイルにします。ROWS は一覧の行（2,5-7）か all。\n"_s,
         parcelAlbum},
        {u"parcel-report"_s,
         u"  tovenla2 parcel-report FILE.SIM --parcels ROWS [--folder DIR] [--type 1|2] [--date TEXT]\n"
         u"                         [--out FILE.xlsx]\n"
         u"      選んだ画地の不動産報告書（.xlsx）を作ります。既定の出力は写真フォルダの不動産報告書.xlsx。\n"_s,
         parcelReport},
        {u"sima-points"_s,
         u"  tovenla2 sima-points FILE.SIM [NAME...]\n"
         u"      点の「点名、X、Y、H」をタブ区切りで出力します（H がなければ空）。NAME を指定すると\n"
         u"      その点だけを出力し、見つからない点は標準エラーに出して終了コード 3 です。\n"_s,
         simaPoints},
    };
}

} // namespace SimaBatch
