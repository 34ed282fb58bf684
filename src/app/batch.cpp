#include "app/batch.h"

#include "album/album_commands.h"
#include "album/album_file.h"
#include "album/csv_photo_list.h"
#include "app/app_error.h"
#include "app/session.h"
#include "app/workspace.h"
#include "print/print_batch.h"

using namespace Qt::StringLiterals;

namespace {

int importCsv(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    Workspace workspace(programFolder);
    Session::readSettings(workspace);
    const CsvPhotoList list = readCsvPhotoList(command.csvPath, workspace.AlbumMaxRows);
    AlbumFile::save(command.outputPath, list.rows);
    out << command.outputPath << u": "_s << list.rows.size() << u" rows\n"_s;
    if (list.linesNotImported > 0) {
        err << AlbumCommands::CapacityExceeded << u" "_s << list.linesNotImported
            << u" lines beyond the capacity of "_s << workspace.AlbumMaxRows
            << u" rows were not imported.\n"_s;
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
        case CommandLine::Mode::AlbumPdf:
            return PrintBatch::albumPdf(command.albumFile, command.outputPath, programFolder, out, err);
        case CommandLine::Mode::LabelPdf:
            return PrintBatch::labelPdf(command.outputPath, programFolder, out, err);
        case CommandLine::Mode::Invalid:
            err << command.error << u"\n\n"_s << CommandLine::usage();
            return 1;
        case CommandLine::Mode::Window:
            break;
        }
    } catch (const AppError& error) {
        err << QString(error.message()).replace(u"\r\n"_s, u"\n"_s) << u'\n';
        return 1;
    }
    return 1;
}
