#include "excel/point_record_batch.h"

#include "album/album_file.h"
#include "excel/point_record.h"
#include "excel/workbook_run_report.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QThread>

#include <map>

using namespace Qt::StringLiterals;

namespace PointRecordBatch {

namespace {

int pointRecord(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                QTextStream& err) {
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    const auto& settings = workspace.settings;
    PointRecord::Request request;
    request.workName = settings.itemText(SettingItem::PointRecordWorkName);
    request.routeName = settings.itemText(SettingItem::PointRecordRouteName);
    request.location = settings.itemText(SettingItem::PointRecordLocation);
    request.inspector = settings.itemText(SettingItem::PointRecordInspector);
    request.heightOn = settings.itemIsOn(SettingItem::PointRecordHeightOn);
    const std::map<QString, QString*> valued = {
        {u"--sima"_s, &request.simaPath},        {u"--work-name"_s, &request.workName},
        {u"--route-name"_s, &request.routeName}, {u"--location"_s, &request.location},
        {u"--inspector"_s, &request.inspector},  {u"--marker"_s, &request.defaultMarker}};
    QStringList positional;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (const auto it = valued.find(word); it != valued.end()) {
            if (i + 1 >= arguments.size()) throw BatchUsageError(word + u" に値がありません。"_s);
            *it->second = arguments.at(++i);
        } else if (word == u"--height"_s || word == u"--no-height"_s) {
            request.heightOn = word == u"--height"_s;
        } else if (word.startsWith(u"--"_s)) {
            throw BatchUsageError(u"不明なオプションです: "_s + word);
        } else {
            positional << word;
        }
    }
    if (positional.size() != 2) throw BatchUsageError(u"アルバムファイルと出力ファイルを指定して下さい。"_s);

    request.rows = AlbumFile::load(positional.at(0), ProgramFiles::capacityFromSettings(workspace));
    ProgramFiles::keep(request.guard, workspace).keep(positional.at(0), OutputGuard::Album);
    while (!request.rows.isEmpty() && request.rows.constLast().isEmpty())
        request.rows.removeLast();
    if (request.rows.isEmpty()) {
        err << u"対象データがありません。\n"_s << QDir::toNativeSeparators(positional.at(0)) << u'\n';
        return 1;
    }
    request.programFolder = programFolder;
    request.threads = qMax(1, QThread::idealThreadCount());

    QStringList notes;
    const auto failure = PointRecord::run(request, positional.at(1), {}, &notes);
    return reportWorkbookRun(failure, positional.at(1), request.rows.size(), notes, out, err);
}

} // namespace

QList<BatchCommand> commands() {
    return {{u"point-record"_s,
             u"  tovenla2 point-record ALBUM.dat OUT.xlsx [--sima FILE] [--work-name T] [--route-name T]\n"
             u"      [--location T] [--inspector T] [--height|--no-height] [--marker KIND]\n"
             u"      写真を点の記（４点）の Excel ファイルにします（作業名などの既定は前回のもの）。\n"_s,
             pointRecord}};
}

} // namespace PointRecordBatch
