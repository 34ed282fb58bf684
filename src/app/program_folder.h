#pragma once

#include <QString>

// Where "tovenla.ini", "add.dat" and "MJRT.dat" live: TOVENLA_HOME when set; else the
// program's own folder when it can be written to (portable use); else the user's data folder.
// The folder is created when missing.
QString resolveProgramFolder(const QString& executableFolder);
