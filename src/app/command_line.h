#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do by its arguments (the program name not included).
struct CommandLine {
    enum class Mode { Window, ImportCsv, AlbumPdf, LabelPdf, Help, Version, Invalid };

    Mode mode = Mode::Window;
    QString albumPath; // Window: the album to open, may be empty
    QString csvPath;   // ImportCsv
    QString albumFile; // AlbumPdf
    QString outputPath;
    QString error; // Invalid: what was wrong

    static CommandLine parse(const QStringList& arguments);
    static QString usage();
    // Sub-commands that draw pages need fonts, hence a GUI application (offscreen).
    bool drawsPages() const { return mode == Mode::AlbumPdf || mode == Mode::LabelPdf; }
};

// The album named on a command line in the Windows form: the text between the first double
// quote and the next one. Empty when there is no quote or no closing quote.
QString quotedAlbumPath(const QString& commandLine);
