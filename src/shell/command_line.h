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
    QString path;    // the album to open at start-up; empty for none
    QString ignored; // words that named no album, to be mentioned on stderr
};

// The window's album from its words (Qt's own options already taken out). Quoted, the Windows
// form: the text between the first two quotes. Unquoted: the words joined by blanks when they
// name an existing file, since a launcher may split a path with blanks; otherwise no album.
AlbumArgument resolveAlbumArgument(const QStringList& words);
