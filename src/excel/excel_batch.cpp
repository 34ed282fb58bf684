#include "excel/excel_batch.h"

#include "album/album_file.h"
#include "excel/album_excel.h"
#include "excel/workbook_run_report.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QThread>

using namespace Qt::StringLiterals;

namespace ExcelBatch {

namespace {

int excel(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    const auto usageError = [](const QString& text) -> int { throw BatchUsageError(text); };
    QStringList positional;
    QString paper, templatePath;
    std::optional<QString> title, titleRow, titleColumn;
    bool free = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (word == u"--free"_s) {
            free = true;
        } else if (word == u"--paper"_s || word == u"--template"_s || word == u"--title"_s ||
                   word == u"--title-row"_s || word == u"--title-column"_s) {
            if (!hasValue) return usageError(word + u" に値がありません。"_s);
            const QString value = arguments.at(++i);
            if (word == u"--paper"_s) paper = value.toLower();
            if (word == u"--template"_s) templatePath = value;
            if (word == u"--title"_s) title = value;
            if (word == u"--title-row"_s) titleRow = value;
            if (word == u"--title-column"_s) titleColumn = value;
        } else if (word.startsWith(u"--"_s)) {
            return usageError(u"不明なオプションです: "_s + word);
        } else {
            positional << word;
        }
    }
    if (positional.size() != 2) return usageError(u"アルバムファイルと出力ファイルを指定して下さい。"_s);
    if (!paper.isEmpty() && paper != u"a3"_s && paper != u"a4"_s)
        return usageError(u"--paper は a3 か a4 です: "_s + paper);
    if (!templatePath.isEmpty() && !free)
        return usageError(u"--template は --free と一緒に指定して下さい。"_s);

    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    const auto& s = workspace.settings;
    AlbumExcel::Request request;
    request.rows = AlbumFile::load(positional.at(0), ProgramFiles::capacityFromSettings(workspace));
    ProgramFiles::keep(request.guard, workspace).keep(positional.at(0), OutputGuard::Album);
    request.programFolder = programFolder;
    request.free = free;
    request.a3 = paper.isEmpty() ? s.itemInt(SettingItem::PaperLayout) == 0 : paper == u"a3"_s;
    request.templatePath = templatePath.isEmpty() ? s.itemText(SettingItem::FreeTemplatePath) : templatePath;
    request.title = title.value_or(s.itemText(SettingItem::FreeTitleText));
    request.titleRow = titleRow.value_or(s.itemText(SettingItem::FreeTitleRow));
    request.titleColumn = titleColumn.value_or(s.itemText(SettingItem::FreeTitleColumn));
    request.threads = qMax(1, QThread::idealThreadCount());
    while (!request.rows.isEmpty() && request.rows.constLast().isEmpty())
        request.rows.removeLast();
    if (request.rows.isEmpty()) {
        err << u"対象データがありません。\n"_s << QDir::toNativeSeparators(positional.at(0)) << u'\n';
        return 1;
    }

    QStringList notes;
    const auto failure = AlbumExcel::run(request, positional.at(1), {}, &notes);
    return reportWorkbookRun(failure, positional.at(1), request.rows.size(), notes, out, err);
}

} // namespace

QList<BatchCommand> commands() {
    return {
        {u"excel"_s,
         u"  tovenla2 excel ALBUM.dat OUT.xlsx [--paper a3|a4] [--free [--template PATH]]\n"
         u"                 [--title TEXT] [--title-row N] [--title-column N]\n"
         u"      アルバムを写真帳の Excel ファイル（.xlsx）にします（既定は固定様式、用紙は設定のとおり）。\n"_s,
         excel}};
}

} // namespace ExcelBatch
