#include "survey/classified_batch.h"

#include "album/album_file.h"
#include "album/blackboard_lines.h"
#include "base/album_lock.h"
#include "base/file_io.h"
#include "base/output_guard.h"
#include "survey/classified_check.h"
#include "survey/classified_commands.h"
#include "survey/classified_csv.h"
#include "survey/classified_file.h"
#include "survey/classified_import.h"
#include "survey/import_capacity.h"
#include "workspace/program_files.h"
#include "workspace/workspace.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace ClassifiedBatch {

namespace {

const QString GroupsUsage =
    u"  tovenla2 classified-groups SOURCE [--key 公図正|図番] [--save IMPORT.spd]\n"
    u"      分類CSV（またはインポートファイル .spd）のグループを「行, 分類キー, シート名, 個数, 済」の\n"
    u"      タブ区切りで表示します。--save でインポートファイルに保存します（拡張子がなければ .spd）。\n"_s;
const QString CheckUsage =
    u"  tovenla2 classified-check SOURCE [--key 公図正|図番]\n"
    u"      近景・遠景写真の有無を調べ、問題があれば CSV のフォルダに CHKErr.log を書きます。\n"
    u"      終了コード 0: 問題なし、2: 問題あり。\n"_s;
const QString ImportUsage =
    u"  tovenla2 import-classified SOURCE ALBUM.dat --groups 指定 [--key 公図正|図番] [--save IMPORT.spd]\n"
    u"      指定したグループ（例 3-4,1 や all、選んだ順）をアルバムファイルに取り込みます。\n"
    u"      キーの省略時は設定の「インポート時キー種別」に従います。\n"_s;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

struct Options {
    QStringList positional;
    std::optional<ClassifiedKey> key;
    QString save;
    QString groups;
};

Options parseOptions(const QStringList& arguments, bool takesGroups, bool takesSave) {
    Options options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        const bool isOption = word == u"--key"_s || (takesSave && word == u"--save"_s) ||
                              (takesGroups && word == u"--groups"_s);
        if (!isOption) {
            if (word.startsWith(u"--"_s)) throw BatchUsageError(u"知らないオプションです: "_s + word);
            options.positional << word;
            continue;
        }
        if (i + 1 >= arguments.size()) throw BatchUsageError(word + u" の値がありません。"_s);
        const QString& value = arguments.at(++i);
        if (word == u"--key"_s) {
            if (value == keyCaption(ClassifiedKey::MapName))
                options.key = ClassifiedKey::MapName;
            else if (value == keyCaption(ClassifiedKey::MapNumber))
                options.key = ClassifiedKey::MapNumber;
            else
                throw BatchUsageError(u"--key には 公図正 か 図番 を指定して下さい: "_s + value);
        } else if (word == u"--save"_s) {
            options.save = value;
        } else {
            options.groups = value;
        }
    }
    return options;
}

bool isImportFile(const QString& path) {
    return path.endsWith(u".spd"_s, Qt::CaseInsensitive);
}

// A CSV grouped by the key, or an import file with its groups as stored.
ClassifiedData readSource(const QString& source, const Options& options, const Workspace& workspace) {
    if (isImportFile(source)) return ClassifiedFile::load(source);
    const ClassifiedKey key =
        options.key.value_or(keyFromSetting(workspace.settings.itemNumber(SettingItem::ImportKeyKind)));
    return readClassifiedCsv(source, key);
}

void requireLines(const ClassifiedData& data, const QString& source, const QString& refusal) {
    if (data.lineCount() == 0) throw AppError(refusal + u'\n' + shown(source));
}

QStringList sourceFiles(const QString& source) {
    QStringList files{source};
    if (isImportFile(source)) files << ClassifiedFile::companionPath(source);
    return files;
}

// What a run over source reads: the list or the import file pair, and the program's files.
OutputGuard inputsOf(const QString& source, const Workspace& workspace) {
    OutputGuard guard;
    guard.keepAll(sourceFiles(source), isImportFile(source) ? OutputGuard::ImportFile : OutputGuard::List);
    return ProgramFiles::keep(guard, workspace);
}

void saveImportFile(const QString& typedPath, const ClassifiedData& data, const OutputGuard& guard,
                    QTextStream& out) {
    const QString path = ClassifiedFile::withExtension(typedPath);
    guard.check(path);
    guard.check(ClassifiedFile::companionPath(path));
    ClassifiedFile::save(path, data);
    out << shown(path) << u": "_s << data.groups.size() << u" グループを保存しました\n"_s;
}

int groups(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    const Options options = parseOptions(arguments, false, true);
    if (options.positional.size() != 1)
        throw BatchUsageError(u"classified-groups には CSV かインポートファイルを一つ指定して下さい。"_s);
    const QString& source = options.positional.at(0);
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    const ClassifiedData data = readSource(source, options, workspace);
    if (!options.save.isEmpty()) {
        requireLines(data, source, ClassifiedCommands::NoLinesToSave);
        OutputGuard guard = inputsOf(source, workspace);
        saveImportFile(options.save, data,
                       guard.keepAll(ClassifiedImport::photosOf(data), OutputGuard::Photo), err);
    }
    for (int r = 0; r < data.rows.size(); ++r) {
        const GroupRow& row = data.rows.at(r);
        out << r + 1 << u'\t' << row.key << u'\t' << row.sheetName << u'\t' << row.count << u'\t' << row.flag
            << u'\n';
    }
    return 0;
}

int check(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    const Options options = parseOptions(arguments, false, false);
    if (options.positional.size() != 1)
        throw BatchUsageError(u"classified-check には CSV かインポートファイルを一つ指定して下さい。"_s);
    const QString& source = options.positional.at(0);
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    const ClassifiedData data = readSource(source, options, workspace);
    requireLines(data, source, ClassifiedCommands::NoLinesToUse);
    const ClassifiedCheck::Result result = ClassifiedCheck::run(data);
    if (result.overLimit) {
        err << ClassifiedCommands::CheckOverLimit << u'\n';
        return 2;
    }
    if (result.problems.isEmpty()) {
        out << ClassifiedCommands::CheckClean << u'\n';
        return 0;
    }
    const QString log = ClassifiedCheck::logPath(data.folder);
    ClassifiedCheck::writeLog(log, result.problems);
    err << ClassifiedCommands::CheckFound << u'\n' << shown(log) << u": "_s << result.problems.size()
        << u" 行\n"_s;
    return 2;
}

int import(const QStringList& arguments, const QString& programFolder, QTextStream& out, QTextStream& err) {
    bool noBlackboard = false;
    const Options options =
        parseOptions(withoutOption(arguments, NoBlackboardOption, noBlackboard), true, true);
    if (options.positional.size() != 2)
        throw BatchUsageError(u"import-classified には CSV（またはインポートファイル）とアルバムファイルを"
                              u"指定して下さい。"_s);
    if (options.groups.isEmpty()) throw BatchUsageError(u"--groups で取り込むグループを指定して下さい。"_s);
    const QString& source = options.positional.at(0);
    const QString& albumPath = options.positional.at(1);
    Workspace workspace(programFolder);
    ProgramFiles::readSettings(workspace);
    OutputGuard guard = inputsOf(source, workspace);
    guard.check(albumPath);
    const AlbumLock lock(albumPath);
    ClassifiedData data = readSource(source, options, workspace);
    requireLines(data, source, ClassifiedCommands::NoLinesToUse);
    // Every photo the list names is an input of the run, those of groups not chosen included.
    guard.keepAll(ClassifiedImport::photosOf(data), OutputGuard::Photo).check(albumPath);
    const QList<ClassifiedImport::Block> blocks =
        ClassifiedImport::parseBlocks(options.groups, data.groups.size());
    ClassifiedImport::Result result = ClassifiedImport::build(data, blocks, workspace.AlbumMaxRows);
    workspace.FillFromBlackboard = !noBlackboard;
    BlackboardLines::fillPlaced(workspace, result.rows, 1, int(result.rows.size()));
    // The pair first: a failure there leaves the album file untouched.
    if (!options.save.isEmpty()) saveImportFile(options.save, data, guard, out);
    AlbumFile::save(albumPath, result.rows);
    out << shown(albumPath) << u": "_s << result.linesImported << u" 件、"_s << result.rows.size()
        << u" 行\n"_s;
    if (result.linesLeftOut == 0) return 0;
    err << ImportCapacity::commandLineNote(result.linesLeftOut, workspace.AlbumMaxRows) << u'\n';
    return 3;
}

} // namespace

QList<BatchCommand> commands() {
    return {{u"classified-groups"_s, GroupsUsage, groups},
            {u"classified-check"_s, CheckUsage, check},
            {u"import-classified"_s, ImportUsage, import}};
}

} // namespace ClassifiedBatch
