#include "app/batch.h"

#include "album/album_commands.h"
#include "album/album_file.h"
#include "album/csv_photo_list.h"
#include "app/app_error.h"
#include "app/file_io.h"
#include "app/session.h"
#include "app/sheet_guard.h"
#include "app/workspace.h"
#include "excel/excel_batch.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// Messages are made for message boxes, with CR LF between their lines.
QString lines(const QString& message) {
    return QString(message).replace(u"\r\n"_s, u"\n"_s);
}

int importCsv(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    if (isSameFile(command.csvPath, command.outputPath)) {
        err << u"CSV ファイルとアルバムファイルが同じファイルです。CSV を上書きしないよう、別のアルバムファイルを指定して下さい。\n"_s
            << QDir::toNativeSeparators(command.outputPath) << u'\n';
        return 1;
    }
    Workspace workspace(programFolder);
    Session::readSettings(workspace);
    const CsvPhotoList list = readCsvPhotoList(command.csvPath, workspace.AlbumMaxRows);
    if (!list.unreadableReport.isEmpty()) err << lines(list.unreadableReport) << u'\n';
    if (list.rows.isEmpty()) {
        err << SheetGuard::NoDataLong << u"\n"_s
            << u"CSV ファイルに写真の行がないため、アルバムファイルは作りませんでした。\n"_s;
        return 1;
    }
    AlbumFile::save(command.outputPath, list.rows);
    out << QDir::toNativeSeparators(command.outputPath) << u": "_s << list.rows.size() << u" 行\n"_s;
    if (list.linesNotImported > 0) {
        err << AlbumCommands::CapacityExceeded << u"\n取り込まれなかった行数："_s << list.linesNotImported
            << u"（アルバムの容量 "_s << workspace.AlbumMaxRows << u" 行）\n"_s;
        return 3;
    }
    return 0;
}

} // namespace

int runBatch(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    try {
        switch (command.mode) {
        case CommandLine::Mode::Help:
            out << CommandLine::usage();
            return 0;
        case CommandLine::Mode::Version:
            out << u"Tovenla2 "_s << QStringLiteral(TOVENLA_VERSION) << u'\n';
            return 0;
        case CommandLine::Mode::ImportCsv:
            return importCsv(command, programFolder, out, err);
        case CommandLine::Mode::Excel:
            return runExcelBatch(command.subArguments, programFolder, out, err);
        case CommandLine::Mode::Invalid:
            err << command.error << u"\n\n"_s << CommandLine::usage();
            return 1;
        case CommandLine::Mode::Window:
            break;
        }
    } catch (const AppError& error) {
        err << lines(error.message()) << u'\n';
        return 1;
    }
    return 1;
}
