#include "shell/command_line.h"

#include "base/batch_command.h"
#include "shell/batch.h"

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
    for (const BatchCommand& command : batchCommands()) {
        if (command.name != first) continue;
        result.mode = Mode::Batch;
        result.command = &command;
        result.arguments = arguments.mid(1);
        return result;
    }
    if (first.startsWith(u"--"_s)) {
        result.mode = Mode::Invalid;
        result.error = u"不明なオプションです: "_s + first;
        return result;
    }
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
    result.path = joined;
    return result;
}

QString CommandLine::usage() {
    QString text = u"使い方:\n"
                   u"  tovenla2 [ALBUM]\n"
                   u"      画面を開きます（ALBUM を指定するとそのアルバムを開きます）。\n"_s;
    for (const BatchCommand& command : batchCommands())
        text += command.usage;
    text += u"  tovenla2 --help | --version\n"
            u"      この説明 | 版数\n"
            u"\n"
            u"画面のない機能は設定をプログラムフォルダ（TOVENLA_HOME を指定した場合はそのフォルダ）の\n"
            u"tovenla.ini から読み、設定ファイルには書き込みません。\n"
            u"写真を行に置くコマンド（place、import-csv、import-classified、import-parcels、\n"
            u"parcel-album）は、電子小黒板の情報を持つ写真の空いた情報行を埋めます。\n"
            u"--no-blackboard を付けると埋めません。\n"
            u"終了コード: 0 完了、1 エラー、3 完了したが取り込めなかった行や写真がある\n"_s;
    return text;
}
