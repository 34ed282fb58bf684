#include "album/photo_copy.h"

#include "album/photo_paths.h"
#include "base/app_error.h"
#include "base/atomic_file.h"
#include "base/file_io.h"
#include "base/output_folder.h"
#include "base/output_guard.h"
#include "base/photo_file.h"
#include "base/row_ranges.h"
#include "base/safe_file_name.h"
#include "base/same_file.h"
#include "base/shared_routines.h"
#include "workspace/album_sheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace PhotoCopy {

const QString ActivityText = u"画像コピー中"_s;
const QString FolderTitle = u"コピー先のフォルダーを指示。ファイル名は無視します。"_s;
const QString CommandFailed =
    u"コピー元写真が存在しないか他の理由により為処理を中断しました。原因を調査して下さい。"_s;

namespace {

QString rowLabel(int row) {
    return u"  行 "_s + QString::number(row);
}

// The same whether the photo was gone when the run began or went while it ran.
QString missingSource(const QString& source) {
    return u"コピー元の写真がありません："_s + source;
}

} // namespace

QString ruleName(const QString& info, const QString& photoPath) {
    const FieldBuffer lines = SplitLines(info);
    const QString built = lines(2) + lines(1) + lines(8);
    if (!built.isEmpty()) return built + u".jpg"_s;
    return PhotoPaths::fileName(photoPath);
}

Target target(const QString& builtName, bool splitByHyphen) {
    Target result;
    SafeFileName::Changes changes;
    result.name = SafeFileName::make(builtName, &changes);
    result.replaced = changes.replaced;
    result.shortened = changes.shortened;
    if (splitByHyphen) {
        const qsizetype hyphen = result.name.indexOf(u'-');
        if (hyphen > 0) {
            const QString before = result.name.left(hyphen);
            result.subFolder = SafeFileName::make(before);
            result.replaced = result.replaced || result.subFolder != before;
        }
    }
    return result;
}

namespace {

// One row to copy, planned before any file is written.
struct Job {
    int row;
    QString source;
    QString destination;
    QString relative;
    bool replaced;
    bool shortened;
    FileIdentity sourceFile;
    // Jobs whose photo is this job's destination: it may be replaced only once they have read it.
    QList<qsizetype> readers;
    std::unique_ptr<AtomicFile> staged;
    bool copied = false;
    bool skipped = false;
};

// "headline（reason）" of a failure message, for one line of the report.
QString briefly(const AppError& error) {
    const QString& message = error.message();
    return message.section(u'\n', 0, 0).chopped(1) + u"（"_s + message.section(u'\n', 2) + u"）"_s;
}

struct Run {
    Summary summary;
    std::vector<Job> jobs;
    const Progress& progress;
    const OutputFolder& folder;
    int total = 0;
    int done = 0;
    bool stopped = false;

    void skip(Job& job, const QString& reason) {
        job.skipped = true;
        summary.skipped.append({job.row, reason});
    }
    ProgressStep at() const { return {{}, done, total, 0}; }
    // Asked before, during and after each copy: throws Cancelled once a stop was asked.
    void ask() const { progress.report(at()); }
    void step() {
        ++done;
        ask();
    }
    // Counts a row without asking whether to go on: planning and the renames at the end run whole.
    void count() {
        ++done;
        progress.tell(at());
    }
};

// The rows that can be copied, each with the rows that read its destination. Names that differ
// only in letter case are one file on the media copies go to, so a later row takes the spelling
// of the first and replaces that copy on every disk alike.
void plan(Run& run, const QList<SourceRow>& rows, const QString& folder, bool splitByHyphen) {
    const QDir base(folder);
    QHash<QString, QString> spellings;
    for (const SourceRow& row : rows) {
        const QString& source = row.path;
        const QString built = ruleName(row.info, source);
        const Target where = target(built, splitByHyphen);
        QString relative = where.subFolder.isEmpty() ? where.name : where.subFolder + u'/' + where.name;
        const QString key = relative.toCaseFolded();
        relative = spellings.value(key, relative);
        Job job{row.row,
                source,
                base.filePath(relative),
                relative,
                where.replaced,
                where.shortened,
                FileIdentity::of(source),
                {},
                {}};
        if (source.isEmpty()) {
            ++run.summary.rowsWithoutPhoto;
        } else if (!QFileInfo(source).isFile()) {
            run.skip(job, missingSource(source));
        } else if (built.isEmpty()) {
            run.skip(job, u"コピー先の名前を作れません"_s);
        } else if (isSameFile(job.sourceFile, FileIdentity::of(job.destination))) {
            run.skip(job, u"コピー元とコピー先が同じファイルです："_s + relative);
        } else {
            spellings.insert(key, relative);
            run.jobs.push_back(std::move(job));
            continue;
        }
        run.count();
    }
    SameFiles sources;
    for (size_t i = 0; i < run.jobs.size(); ++i)
        sources.add(run.jobs[i].sourceFile, qsizetype(i));
    for (Job& job : run.jobs)
        job.readers = sources.find(FileIdentity::of(job.destination));
}

// The hyphen's sub-folder, made when missing. The chosen folder itself never is: made again at
// its path once it has gone, it would be a folder of another disk.
bool makeSubFolder(Run& run, Job& job) {
    const QString folder = QFileInfo(job.destination).path();
    if (QFileInfo(folder).isDir() || QDir().mkdir(folder)) return true;
    run.skip(job, u"フォルダーを作れません："_s + QDir::toNativeSeparators(folder) + u"（"_s +
                      folderFailureReason(folder) + u"）"_s);
    return false;
}

// Writes one copy; a job whose destination is still to be read is only staged. Throws
// OutputFolderGone once the chosen folder has gone.
void copyOne(Run& run, Job& job, const OutputGuard& guard) {
    run.folder.check();
    const std::optional<OutputGuard::Kept> kept = guard.match(job.destination);
    if (kept && (kept->kind != OutputGuard::Photo || job.readers.isEmpty()))
        return run.skip(job, u"コピー先が"_s + kept->kind + u"のため上書きしません："_s + job.relative);
    if (!QFileInfo(job.source).isFile()) return run.skip(job, missingSource(job.source));
    if (!makeSubFolder(run, job)) return;
    try {
        auto file = std::make_unique<AtomicFile>(job.destination, u"コピー先に書けません。"_s, run.folder);
        // A copy stopped halfway is discarded with its writer.
        file->copyFrom(job.source, run.progress.mapped([&run](const ProgressStep&) { return run.at(); }));
        if (!job.readers.isEmpty()) {
            file->finish();
            job.staged = std::move(file);
            return;
        }
        file->commit();
        job.copied = true;
    } catch (const OutputFolderGone&) {
        throw;
    } catch (const CopySourceError& error) {
        run.skip(job, u"コピー元を読めません："_s + job.source + u"（"_s + error.reason() + u"）"_s);
    } catch (const AppError& error) {
        run.skip(job, briefly(error));
    }
}

// A staged copy takes its place once every row that reads the photo it replaces has its copy.
void placeStaged(Run& run, Job& job) {
    for (qsizetype reader : job.readers) {
        const Job& other = run.jobs[size_t(reader)];
        if (&other != &job && !other.copied && !other.staged)
            return run.skip(job, u"コピー先の写真（行 "_s + QString::number(other.row) +
                                     u" のコピー元）を残すため、コピーしませんでした："_s + job.relative);
    }
    try {
        job.staged->commit();
        job.copied = true;
    } catch (const OutputFolderGone& gone) {
        run.summary.folderGone = gone.message();
        run.stopped = true;
    } catch (const AppError& error) {
        run.skip(job, briefly(error));
    }
    job.staged.reset();
}

// The copies that took their places, those renamed on the way, and the rows a stop left out.
void tally(Run& run) {
    QHash<QString, int> rowOfDestination;
    for (const Job& job : run.jobs) {
        if (!job.copied) {
            if (!job.skipped) run.summary.notCopied.append(job.row);
            continue;
        }
        ++run.summary.copied;
        if (job.replaced) run.summary.adjusted.append({job.row, job.relative});
        if (job.shortened) run.summary.shortened.append({job.row, job.relative});
        if (const auto earlier = rowOfDestination.constFind(job.destination);
            earlier != rowOfDestination.cend()) {
            run.summary.replaced.append({job.row, *earlier, job.relative});
            --run.summary.copied; // the earlier copy is gone
        }
        rowOfDestination.insert(job.destination, job.row);
    }
    std::sort(run.summary.skipped.begin(), run.summary.skipped.end(),
              [](const Summary::Skipped& a, const Summary::Skipped& b) { return a.row < b.row; });
    std::sort(run.summary.notCopied.begin(), run.summary.notCopied.end());
}

} // namespace

QList<SourceRow> rowsOf(const AlbumSheet& sheet, int first, int last) {
    QList<SourceRow> rows;
    for (int r = first; r <= last; ++r)
        rows.append(
            {r, sheet.text(r, AlbumColumn::Info), PhotoFile::resolve(sheet.text(r, AlbumColumn::Path))});
    return rows;
}

Summary copyRows(const AlbumSheet& sheet, int first, int last, const QString& folder, bool splitByHyphen,
                 const OutputGuard& guard, const Progress& progress) {
    return copyRows(rowsOf(sheet, first, last), folder, splitByHyphen, guard, progress);
}

Summary copyRows(const QList<SourceRow>& rows, const QString& folder, bool splitByHyphen,
                 const OutputGuard& guard, const Progress& progress) {
    // A relative folder is taken from where the command runs, once.
    const QDir base(QFileInfo(folder).absoluteFilePath());
    // Made here, once: made again later, it could be the bare mount point of a stick pulled meanwhile.
    if (!base.mkpath(u"."_s))
        throw AppError(fileFailure(u"コピー先のフォルダを作成できません。"_s, base.path(),
                                   folderFailureReason(base.path())));
    const OutputFolder chosen(base.path());
    Run run{{}, {}, progress, chosen, int(rows.size())};
    plan(run, rows, base.path(), splitByHyphen);
    QSet<QString> folders;
    for (const Job& job : run.jobs)
        folders.insert(QFileInfo(job.destination).absolutePath());
    for (const QString& used : folders)
        AtomicFile::removeLeftovers(used);
    try {
        // Every photo that a copy replaces is read first: staged copies wait until all are done.
        for (Job& job : run.jobs) {
            if (job.readers.isEmpty()) continue;
            run.ask();
            copyOne(run, job, guard);
        }
        for (Job& job : run.jobs) {
            if (!job.readers.isEmpty()) continue;
            run.ask();
            copyOne(run, job, guard);
            run.step();
        }
    } catch (const Cancelled&) {
        run.stopped = true;
    } catch (const OutputFolderGone& gone) {
        run.summary.folderGone = gone.message();
        run.stopped = true;
    }
    // After a stop no staged copy takes its place: a photo it would replace may not have been
    // read by its own row yet. Without a stop they are all placed: that is renames only.
    for (Job& job : run.jobs) {
        if (job.staged && !run.stopped) placeStaged(run, job);
        job.staged.reset();
        if (!job.readers.isEmpty()) run.count();
    }
    tally(run);
    return run.summary;
}

namespace {

// A line that does not fit goes on over further lines, indented; names have no blanks to break
// at, so it breaks anywhere but inside a surrogate pair.
QStringList wrapped(const QString& line, const Summary::Fits& fits) {
    if (!fits || fits(line)) return {line};
    const QString indent = u"    "_s;
    QStringList pieces;
    QString piece;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype step = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        const QString next = line.mid(i, step);
        if (piece.size() > indent.size() && !fits(piece + next)) {
            pieces << piece;
            piece = indent;
        }
        piece += next;
        i += step - 1;
    }
    pieces << piece;
    return pieces;
}

void listRows(QStringList& lines, const QString& heading, const QList<Summary::Adjusted>& rows) {
    if (rows.isEmpty()) return;
    lines << heading;
    for (const Summary::Adjusted& s : rows)
        lines << rowLabel(s.row) + u"："_s + s.relativePath;
}

} // namespace

QString Summary::text(const Fits& fits) const {
    QStringList lines;
    if (!folderGone.isEmpty())
        lines << folderGone.split(u'\n');
    else if (stopped())
        lines << u"中止しました。"_s;
    lines << u"コピーした写真："_s + QString::number(copied) + u" 枚"_s;
    if (rowsWithoutPhoto > 0) lines << u"写真のない行："_s + QString::number(rowsWithoutPhoto) + u" 行"_s;
    if (!notCopied.isEmpty())
        lines << (folderGone.isEmpty() ? u"中止"_s : u"中断"_s) + u"したためコピーしなかった行："_s +
                     QString::number(notCopied.size()) + u" 行（"_s + describeRows(notCopied) + u"）"_s;
    if (!skipped.isEmpty()) {
        lines << u"コピーできなかった行："_s;
        for (const Skipped& s : skipped)
            lines << rowLabel(s.row) + u"："_s + s.reason;
    }
    if (!replaced.isEmpty()) {
        lines << u"前の行と同じ名前になり、そのコピーを置き換えた行："_s;
        for (const Replaced& s : replaced)
            lines << rowLabel(s.row) + u"（行 "_s + QString::number(s.earlierRow) + u" と同じ "_s +
                         s.relativePath + u"）"_s;
    }
    listRows(lines, u"名前に使えない文字を「_」に置き換えてコピーした行："_s, adjusted);
    listRows(lines, u"名前が長すぎるため短くしてコピーした行："_s, shortened);
    QStringList shown;
    for (const QString& line : std::as_const(lines))
        shown << wrapped(line, fits);
    return shown.join(u'\n');
}

} // namespace PhotoCopy
