#pragma once

#include <QString>

// Where "tovenla.ini", "add.dat" and "MJRT.dat" live: TOVENLA_HOME when set; else the
// program's own folder when it can be written to (portable use); else the user's data folder.
// The folder is created when missing.
struct ProgramFolder {
    QString path;
    QString problem; // why the folder cannot be used; empty when it can
};

ProgramFolder resolveProgramFolder(const QString& executableFolder);

// The message for a program folder that cannot be used: headline, folder, reason.
QString programFolderFailure(const QString& folder, const QString& reason);
