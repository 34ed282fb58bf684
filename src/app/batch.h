#pragma once

#include "app/command_line.h"

#include <QTextStream>

// The sub-commands that need no display. Returns the process exit status.
int runBatch(const CommandLine& command, const QString& programFolder, QTextStream& out, QTextStream& err);
