#include "shell/batch.h"

#include "album/album_batch.h"
#include "base/batch_command.h"
#include "delivery/delivery_batch.h"
#include "excel/excel_batch.h"
#include "excel/field_report_batch.h"
#include "excel/point_record_batch.h"
#include "print/print_batch.h"
#include "survey/classified_batch.h"
#include "survey/sima_batch.h"
#include "tovenla_version.h"
#include "viewer/thumbnail_batch.h"

using namespace Qt::StringLiterals;

namespace {

// Messages are made for message boxes, with CR LF between their lines.
QString lines(const QString& message) {
    return QString(message).replace(u"\r\n"_s, u"\n"_s);
}

} // namespace

const QList<BatchCommand>& batchCommands() {
    static const QList<BatchCommand> commands =
        AlbumBatch::commands() + ViewerBatch::commands() + PrintBatch::commands() +
        DeliveryBatch::commands() + ExcelBatch::commands() + FieldReportBatch::commands() +
        PointRecordBatch::commands() + ClassifiedBatch::commands() + SimaBatch::commands();
    return commands;
}

int runBatch(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err) {
    switch (command.mode) {
    case CommandLine::Mode::Help:
        out << CommandLine::usage();
        return 0;
    case CommandLine::Mode::Version:
        out << u"Tovenla2 "_s << QStringLiteral(TOVENLA_VERSION) << u'\n';
        return 0;
    case CommandLine::Mode::Invalid:
        err << command.error << u"\n\n"_s << CommandLine::usage();
        return 1;
    case CommandLine::Mode::Window:
        return 1;
    case CommandLine::Mode::Batch:
        break;
    }
    try {
        return command.command->run(command.arguments, programFolder, out, err);
    } catch (const BatchUsageError& error) {
        err << lines(error.message()) << u"\n\n使い方:\n"_s << command.command->usage;
    } catch (const AppError& error) {
        err << lines(error.message()) << u'\n';
    }
    return 1;
}
