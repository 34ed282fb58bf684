#pragma once

#include <QString>

// Where "tovenla.ini", "add.dat" and "MJRT.dat" live: TOVENLA_HOME when set; else, for an
// installed program, the user's data folder (never the install prefix, even when it can be
// written to); else the program's own folder when it can be written to (portable use); else
// the user's data folder.
struct ProgramFolder {
    // The window keeps its files there and makes the folder when missing; the sub-commands
    // only read the settings, so a folder named by TOVENLA_HOME must already be there.
    enum class Use { Window, Commands };

    QString path;
    QString problem; // why the folder cannot be used; empty when it can
};

ProgramFolder resolveProgramFolder(const QString& executableFolder,
                                   ProgramFolder::Use use = ProgramFolder::Use::Window);

// The user's data folder: Tovenla2 under XDG_DATA_HOME (~/.local/share by default).
QString userDataFolder();

// The message for a program folder that cannot be used: headline, folder, reason.
QString programFolderFailure(const QString& folder, const QString& reason);
