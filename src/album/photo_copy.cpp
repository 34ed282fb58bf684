#include "album/photo_copy.h"

#include "album/photo_paths.h"
#include "app/album_sheet.h"
#include "app/app_error.h"
#include "app/atomic_file.h"
#include "app/file_io.h"
#include "app/output_guard.h"
#include "app/photo_file.h"
#include "app/safe_file_name.h"
#include "app/shared_routines.h"

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

} // namespace

QString ruleName(const QString& info, const QString& photoPath) {
    const FieldBuffer lines = SplitLines(info);
    const QString built = lines(2) + lines(1) + lines(8);
    if (!built.isEmpty()) return built + u".jpg"_s;
    return PhotoPaths::fileName(photoPath);
}

Target target(const QString& builtName, bool splitByHyphen) {
    Target result;
    result.name = SafeFileName::make(builtName);
    result.adjusted = result.name != builtName;
    if (splitByHyphen) {
        const qsizetype hyphen = result.name.indexOf(u'-');
        if (hyphen > 0) {
            const QString before = result.name.left(hyphen);
            result.subFolder = SafeFileName::make(before);
            result.adjusted = result.adjusted || result.subFolder != before;
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
    bool adjusted;
    std::optional<FileId> sourceId;
    // Jobs whose photo is this job's destination: it may be replaced only once they have read it.
    QList<qsizetype> readers;
    std::unique_ptr<AtomicFile> staged;
    bool copied = false;
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
    int first;
    int done = 0;

    void skip(const Job& job, const QString& reason) { summary.skipped.append({job.row, reason}); }
    void step() {
        if (progress) progress(++done);
    }
};

// The rows that can be copied, each with the rows that read its destination.
void plan(Run& run, const AlbumSheet& sheet, int last, const QString& folder, bool splitByHyphen) {
    const QDir base(folder);
    for (int r = run.first; r <= last; ++r) {
        const QString source = PhotoFile::resolve(sheet.text(r, AlbumColumn::Path));
        const QString built = ruleName(sheet.text(r, AlbumColumn::Info), source);
        const Target where = target(built, splitByHyphen);
        const QString relative = where.subFolder.isEmpty() ? where.name : where.subFolder + u'/' + where.name;
        Job job{r, source, base.filePath(relative), relative, where.adjusted, fileId(source), {}, {}};
        if (source.isEmpty()) {
            ++run.summary.rowsWithoutPhoto;
        } else if (!QFileInfo(source).isFile()) {
            run.skip(job, u"コピー元の写真がありません："_s + source);
        } else if (built.isEmpty()) {
            run.skip(job, u"コピー先の名前を作れません"_s);
        } else if (isSameFile(source, job.destination)) {
            run.skip(job, u"コピー元とコピー先が同じファイルです："_s + relative);
        } else {
            run.jobs.push_back(std::move(job));
            continue;
        }
        run.step();
    }
    for (Job& job : run.jobs) {
        const std::optional<FileId> target = fileId(job.destination);
        for (size_t i = 0; target && i < run.jobs.size(); ++i)
            if (run.jobs[i].sourceId == target) job.readers.append(qsizetype(i));
    }
}

// Writes one copy; a job whose destination is still to be read is only staged.
void copyOne(Run& run, Job& job, const QDir& base, const OutputGuard& guard) {
    const std::optional<OutputGuard::Kept> kept = guard.match(job.destination);
    if (kept && (kept->kind != OutputGuard::Photo || job.readers.isEmpty()))
        return run.skip(job, u"コピー先が"_s + kept->kind + u"のため上書きしません："_s + job.relative);
    if (!base.mkpath(QFileInfo(job.destination).path()))
        return run.skip(job, u"フォルダーを作れません："_s + QFileInfo(job.relative).path());
    try {
        auto file = std::make_unique<AtomicFile>(job.destination, u"コピー先に書けません。"_s);
        file->copyFrom(job.source);
        if (!job.readers.isEmpty()) {
            file->finish();
            job.staged = std::move(file);
            return;
        }
        file->commit();
        job.copied = true;
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
    } catch (const AppError& error) {
        run.skip(job, briefly(error));
    }
    job.staged.reset();
}

} // namespace

Summary copyRows(const AlbumSheet& sheet, int first, int last, const QString& folder, bool splitByHyphen,
                 const OutputGuard& guard, const Progress& progress) {
    // A relative folder is taken from where the command runs, once.
    const QDir base(QFileInfo(folder).absoluteFilePath());
    Run run{{}, {}, progress, first};
    plan(run, sheet, last, base.path(), splitByHyphen);
    QSet<QString> folders;
    for (const Job& job : run.jobs)
        folders.insert(QFileInfo(job.destination).absolutePath());
    for (const QString& used : folders)
        AtomicFile::removeLeftovers(used);
    // Every photo that a copy replaces is read first: staged copies wait until all are done.
    for (Job& job : run.jobs) {
        if (!job.readers.isEmpty()) copyOne(run, job, base, guard);
    }
    for (Job& job : run.jobs) {
        if (job.readers.isEmpty()) {
            copyOne(run, job, base, guard);
            run.step();
        }
    }
    for (Job& job : run.jobs) {
        if (job.staged) placeStaged(run, job);
        if (!job.readers.isEmpty()) run.step();
    }
    QHash<QString, int> rowOfDestination;
    for (const Job& job : run.jobs) {
        if (!job.copied) continue;
        ++run.summary.copied;
        if (job.adjusted) run.summary.adjusted.append({job.row, job.relative});
        if (const auto earlier = rowOfDestination.constFind(job.destination);
            earlier != rowOfDestination.cend()) {
            run.summary.replaced.append({job.row, *earlier, job.relative});
            --run.summary.copied; // the earlier copy is gone
        }
        rowOfDestination.insert(job.destination, job.row);
    }
    std::sort(run.summary.skipped.begin(), run.summary.skipped.end(),
              [](const Summary::Skipped& a, const Summary::Skipped& b) { return a.row < b.row; });
    return run.summary;
}

QString Summary::text() const {
    QStringList lines;
    lines << u"コピーした写真："_s + QString::number(copied) + u" 枚"_s;
    if (rowsWithoutPhoto > 0) lines << u"写真のない行："_s + QString::number(rowsWithoutPhoto) + u" 行"_s;
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
    if (!adjusted.isEmpty()) {
        lines << u"名前に使えない文字を「_」に置き換えてコピーした行："_s;
        for (const Adjusted& s : adjusted)
            lines << rowLabel(s.row) + u"："_s + s.relativePath;
    }
    return lines.join(u'\n');
}

} // namespace PhotoCopy
