#include "support/batch_run.h"

#include "shell/batch.h"
#include "shell/command_line.h"

#include <QTextStream>

int runCommand(const QStringList& arguments, const QString& programFolder, QString& out, QString& err) {
    out.clear();
    err.clear();
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    return runBatch(CommandLine::parse(arguments), programFolder, outStream, errStream);
}
