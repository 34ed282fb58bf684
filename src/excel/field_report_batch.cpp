#include "excel/field_report_batch.h"

#include "album/album_file.h"
#include "excel/field_report.h"
#include "excel/workbook_run_report.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QThread>

using namespace Qt::StringLiterals;

namespace FieldReportBatch {

namespace {

int fieldReport(const QStringList& arguments, const QString& programFolder, QTextStream& out,
                QTextStream& err) {
    QStringList positional;
    std::optional<QString> kindText, sheetName;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == u"--kind"_s || word == u"--sheet-name"_s) {
            if (i + 1 >= arguments.size()) throw BatchUsageError(word + u" に値がありません。"_s);
            (word == u"--kind"_s ? kindText : sheetName) = arguments.at(++i);
        } else if (word.startsWith(u"--"_s)) {
            throw BatchUsageError(u"不明なオプションです: "_s + word);
        } else {
            positional << word;
        }
    }
    if (positional.size() != 2) throw BatchUsageError(u"アルバムファイルと出力ファイルを指定して下さい。"_s);

    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    FieldReport::Request request;
    request.kind = workspace.settings.itemInt(SettingItem::FieldReportKind);
    if (kindText) {
        bool ok = false;
        request.kind = kindText->toInt(&ok);
        if (!ok || request.kind < 0 || request.kind > 6)
            throw BatchUsageError(u"--kind は 0 から 6 です: "_s + *kindText);
    }
    request.rows = AlbumFile::load(positional.at(0), ProgramFiles::capacityFromSettings(workspace));
    ProgramFiles::keep(request.guard, workspace).keep(positional.at(0), OutputGuard::Album);
    while (!request.rows.isEmpty() && request.rows.constLast().isEmpty())
        request.rows.removeLast();
    if (request.rows.isEmpty()) {
        err << u"対象データがありません。\n"_s << QDir::toNativeSeparators(positional.at(0)) << u'\n';
        return 1;
    }
    request.sheetName = sheetName.value_or(FieldReport::defaultSheetName(request.rows));
    request.programFolder = programFolder;
    request.threads = qMax(1, QThread::idealThreadCount());

    QStringList notes;
    const auto failure = FieldReport::run(request, positional.at(1), {}, &notes);
    return reportWorkbookRun(failure, positional.at(1), request.rows.size(), notes, out, err);
}

} // namespace

QList<BatchCommand> commands() {
    return {
        {u"field-report"_s,
         u"  tovenla2 field-report ALBUM.dat OUT.xlsx [--kind 0-6] [--sheet-name NAME]\n"
         u"      写真を現地踏査・境界点写真・作業管理写真の Excel ファイルにします（種別の既定は前回のもの）。\n"_s,
         fieldReport}};
}

} // namespace FieldReportBatch
