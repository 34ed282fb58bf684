#pragma once

#include "shell/command_line.h"

#include <QList>
#include <QTextStream>

struct BatchCommand;

// Every headless sub-command, in the order the usage text lists them.
const QList<BatchCommand>& batchCommands();

// Runs what the command line asked for without a window. Returns the process exit status.
int runBatch(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err);
