#pragma once

#include <QString>
#include <QStringList>

struct BatchCommand;

// What the program was asked to do by its arguments (the program name not included).
struct CommandLine {
    enum class Mode { Window, Batch, Help, Version, Invalid };

    Mode mode = Mode::Window;
    QStringList albumWords;                // Window: the words that may name the album to open
    const BatchCommand* command = nullptr; // Batch
    QStringList arguments;                 // Batch: the words after the sub-command's name
    QString error;                         // Invalid: what was wrong

    static CommandLine parse(const QStringList& arguments);
    static QString usage();
};

// The album named on a command line in the Windows form: the text between the first double
// quote and the next one. Empty when there is no quote or no closing quote.
QString quotedAlbumPath(const QString& commandLine);

struct AlbumArgument {
    QString path; // the album to open at start-up; empty for none
};

// The window's album from its words (Qt's own options already taken out). Quoted, the Windows
// form: the text between the first two quotes. Unquoted: the words joined by blanks, since a
// launcher may split a path with blanks. A path that names no album is opened all the same,
// so that the window says why it cannot be read.
AlbumArgument resolveAlbumArgument(const QStringList& words);
