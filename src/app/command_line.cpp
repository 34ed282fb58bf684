#include "app/command_line.h"

#include <QFileInfo>

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
            return invalid(
                u"import-csv には CSV ファイルとアルバムファイルを指定して下さい: import-csv LIST.CSV ALBUM.dat"_s);
        result.mode = Mode::ImportCsv;
        result.csvPath = arguments.at(1);
        result.outputPath = arguments.at(2);
        return result;
    }

    if (first == u"excel"_s) {
        result.mode = Mode::Excel;
        result.subArguments = arguments.mid(1);
        return result;
    }

    if (first.startsWith(u"--"_s)) return invalid(u"不明なオプションです: "_s + first);
    result.albumWords = arguments;
    return result;
}

AlbumArgument resolveAlbumArgument(const QStringList& words) {
    AlbumArgument result;
    const QString joined = words.join(u' ');
    if (joined.contains(u'"')) {
        result.path = quotedAlbumPath(joined);
        return result;
    }
    if (joined.isEmpty()) return result;
    if (QFileInfo(joined).isFile())
        result.path = joined;
    else
        result.ignored = joined;
    return result;
}

QString CommandLine::usage() {
    return u"使い方:\n"
           u"  tovenla2 [ALBUM]                        画面を開きます（ALBUM "
           u"を指定するとそのアルバムを開きます）\n"
           u"  tovenla2 import-csv LIST.CSV ALBUM.dat  CSV の写真リストからアルバムファイルを作ります\n"
           u"  tovenla2 excel ALBUM.dat OUT.xlsx [--paper a3|a4] [--free [--template PATH]]\n"
           u"                 [--title TEXT] [--title-row N] [--title-column N]  写真帳の Excel "
           u"ブックを作ります\n"
           u"  tovenla2 --help | --version             この説明 | 版数\n"
           u"\n"
           u"設定はプログラムフォルダ（TOVENLA_HOME を指定した場合はそのフォルダ）の tovenla.ini "
           u"から読みます。\n"
           u"終了コード: 0 完了、1 エラー、3 書き込んだが容量を超えた行を取り込まなかった\n"_s;
}
