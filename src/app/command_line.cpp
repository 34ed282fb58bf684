#include "app/command_line.h"

using namespace Qt::StringLiterals;

QString quotedAlbumPath(const QString& commandLine) {
    const qsizetype open = commandLine.indexOf(u'"');
    if (open < 0) return {};
    const qsizetype close = commandLine.indexOf(u'"', open + 1);
    if (close < 0) return {};
    return commandLine.mid(open + 1, close - open - 1);
}

CommandLine CommandLine::parse(const QStringList& arguments) {
    CommandLine result;
    const auto invalid = [&](const QString& error) {
        result.mode = Mode::Invalid;
        result.error = error;
        return result;
    };
    if (arguments.isEmpty()) return result;

    const QString& first = arguments.first();
    if (first == u"--help"_s || first == u"-h"_s) {
        result.mode = Mode::Help;
        return result;
    }
    if (first == u"--version"_s) {
        result.mode = Mode::Version;
        return result;
    }
    if (first == u"import-csv"_s) {
        if (arguments.size() != 3)
            return invalid(u"import-csv needs a CSV list and an album file: import-csv LIST.CSV ALBUM.dat"_s);
        result.mode = Mode::ImportCsv;
        result.csvPath = arguments.at(1);
        result.outputPath = arguments.at(2);
        return result;
    }

    if (first == u"pdf"_s) {
        if (arguments.size() != 3)
            return invalid(u"pdf needs an album file and a PDF file: pdf ALBUM OUT.pdf"_s);
        result.mode = Mode::AlbumPdf;
        result.albumFile = arguments.at(1);
        result.outputPath = arguments.at(2);
        return result;
    }
    if (first == u"label-pdf"_s) {
        if (arguments.size() != 2) return invalid(u"label-pdf needs a PDF file: label-pdf OUT.pdf"_s);
        result.mode = Mode::LabelPdf;
        result.outputPath = arguments.at(1);
        return result;
    }

    const QString joined = arguments.join(u' ');
    if (joined.contains(u'"')) {
        result.albumPath = quotedAlbumPath(joined);
        return result;
    }
    if (first.startsWith(u'-')) return invalid(u"unknown option: "_s + first);
    if (arguments.size() > 1) return invalid(u"one album file at most; put a path with blanks in quotes"_s);
    result.albumPath = first;
    return result;
}

QString CommandLine::usage() {
    return u"Usage:\n"
           u"  tovenla2 [ALBUM]                        start the program, opening ALBUM if given\n"
           u"  tovenla2 import-csv LIST.CSV ALBUM.dat  make an album file from a CSV photo list\n"
           u"  tovenla2 pdf ALBUM OUT.pdf              album pages as a PDF, with the current settings\n"
           u"  tovenla2 label-pdf OUT.pdf              the CD label page as a PDF, from the settings\n"
           u"  tovenla2 --help | --version\n"
           u"\n"
           u"The settings come from tovenla.ini in the program folder (TOVENLA_HOME if set).\n"
           u"Exit status: 0 done, 1 error, 3 album written but lines beyond the capacity left out.\n"_s;
}
