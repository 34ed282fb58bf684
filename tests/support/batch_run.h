#pragma once

#include <QString>
#include <QStringList>

// Runs a sub-command in the test's own process, as the command line would, with the program
// folder given; out and err are emptied first and receive what it prints. Answers the exit
// status.
int runCommand(const QStringList& arguments, const QString& programFolder, QString& out, QString& err);
