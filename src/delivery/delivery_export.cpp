#include "delivery/delivery_export.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/atomic_file.h"
#include "base/file_io.h"
#include "base/output_folder.h"
#include "base/run_lock.h"
#include "base/same_file.h"
#include "delivery/delivery_plan.h"
#include "delivery/delivery_review.h"
#include "delivery/export_records.h"
#include "delivery/file_copy.h"
#include "delivery/folder_swap.h"
#include "delivery/photo_xml.h"
#include "delivery/replace_check.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <cmath>

using namespace Qt::StringLiterals;

namespace DeliveryExport {

const QString FolderName = u"PHOTO"_s;
const QString DtdName = u"PHOTO03.DTD"_s;
const QString XmlName = u"PHOTO.XML"_s;
const QString FailureTitle = u"Tovenla2"_s;
const QString CancelledText = u"電子納品の出力を中止しました。"_s;
const QString NoSpace = u"ディスクの空きが足りないため、出力しませんでした。"_s;
const QString Busy =
    u"このフォルダには、別の電子納品の出力が書き込み中です。終わってから、もう一度出力して下さい。"_s;
const QString RemoveAsk = u"これらのファイルを削除して出力しますか？"_s;
const QString WarningsAsk = u"このまま PHOTO03 で出力しますか？"_s;

namespace {

const QString Unchanged = u"以前の PHOTO フォルダは変更していません。"_s;
// Another run that cleans up after a killed export holds the folder's lock only for a moment.
constexpr std::chrono::seconds LockWait(2);

void makeFolder(const QString& path) {
    if (!QDir().mkdir(path))
        throw AppError(fileFailure(u"フォルダを作成できませんでした。"_s, path, folderFailureReason(path)));
}

QString megabytes(qint64 bytes, bool roundUp) {
    const double tenths = double(bytes) * 10.0 / (1024.0 * 1024.0);
    return QString::number((roundUp ? std::ceil(tenths) : std::floor(tenths)) / 10.0, 'f', 1);
}

// The old folder stays until the new one is whole, so the new one must fit beside it.
void refuseWithoutSpace(const QString& folder, const DeliveryPlan& plan, qint64 dtdBytes, qint64 xmlBytes) {
    // A file system that does not tell its size is not refused as full.
    const std::optional<qint64> free = freeSpace(folder);
    if (!free) return;
    const QStorageInfo storage(folder);
    const qint64 block = std::max(storage.blockSize(), 512);
    const auto onDisk = [&](qint64 bytes) { return (bytes + block - 1) / block * block; };
    qint64 needed = onDisk(dtdBytes) + onDisk(xmlBytes) + 3 * block; // and the three folders
    for (const DeliveryPhoto& photo : plan.photos)
        needed += onDisk(photo.size);
    if (*free >= needed) return;
    throw AppError(NoSpace + u"\n必要な空き容量："_s + megabytes(needed, true) + u" MB\n空き容量："_s +
                   megabytes(*free, false) + u" MB\n出力先："_s + QDir::toNativeSeparators(folder));
}

// What the check lets pass, once review has seen it.
QList<Finding> checked(const DeliveryPlan& plan, const ConfirmFindings& review) {
    if (plan.version == PhotoStandard::Version::V03) DeliveryPlanner::refuseProblems(plan);
    const QList<Finding> findings = DeliveryReview::review(plan);
    if (Findings::hasErrors(findings)) throw DeliveryRefused(findings);
    if (!findings.isEmpty() && review && !review(findings)) throw DeliveryWithheld();
    return findings;
}

struct Copier {
    const Progress& progress;
    const OutputFolder& folder;
    qint64 total;
    qint64 done = 0;

    // The new folder lies inside the chosen one: once that has gone, so has all that was written.
    void copy(const QString& source, const QString& target) {
        FileCopy::copy(source, target, folder, progress.mapped([this](const ProgressStep& file) {
            return ProgressStep{{}, done + file.done, total, 0};
        }));
        done += QFileInfo(target).size();
    }
    // A photo that cannot be read any more is named by its row, as a missing one is before the
    // export.
    void copy(const DeliveryPhoto& photo, const QString& target) {
        try {
            copy(photo.sourcePath, target);
        } catch (const CopySourceError& error) {
            throw AppError(
                fileFailure(photo.origin + u"の写真を読めません。"_s, error.path(), error.reason()));
        }
    }
};

// The hidden folder the new delivery is built in; gone again unless it took PHOTO's place.
struct Staging {
    QString path;
    bool placed = false;
    ~Staging() {
        if (!placed) FolderSwap::removeEntry(path);
    }
};

// Every file of the new folder, written and on the disk. Messages name the files by where
// they are going, never by the hidden folder they are built in.
qint64 fill(const Staging& staging, const QString& target, const DeliveryRequest& request,
            const DeliveryPlan& plan, const QByteArray& xml, const OutputFolder& folder,
            const Progress& progress) {
    try {
        const QDir out(staging.path);
        makeFolder(out.filePath(u"DRA"_s));
        makeFolder(out.filePath(u"PIC"_s));
        Copier copier{progress, folder, plan.totalBytes + QFileInfo(request.dtdPath).size()};
        copier.copy(request.dtdPath, out.filePath(PhotoStandard::dtdName(plan.version)));
        for (const DeliveryPhoto& photo : plan.photos)
            copier.copy(photo, out.filePath(u"PIC/"_s + PhotoXml::serialFileName(photo.serial)));
        writeFileAtomically(out.filePath(XmlName), xml, u"PHOTO.XML を書き込めませんでした。"_s);
        FileCopy::syncFileSystem(staging.path);
        return copier.done;
    } catch (const AppError& error) {
        throw AppError(
            QString(error.message())
                .replace(QDir::toNativeSeparators(staging.path), QDir::toNativeSeparators(target)));
    }
}

DeliveryResult build(const DeliveryRequest& request, const OutputFolder& chosen, const QString& target,
                     const Progress& progress, const ConfirmRemoval& confirm, const ConfirmFindings& review) {
    const QString& folder = chosen.path();
    if (request.dtdPath.isEmpty() || !QFileInfo(request.dtdPath).isFile())
        throw AppError(u"プログラムフォルダに "_s + PhotoStandard::dtdName(request.version) +
                       u" がありません。"_s);
    const DeliveryPlan plan = DeliveryPlanner::plan(request);
    QStringList albums = request.listedAlbums;
    albums.prepend(request.sheetAlbumPath);
    ReplaceCheck::refuseLosses(target, albums, plan.photos);
    DeliveryResult result;
    result.version = plan.version;
    result.standard = plan.standard;
    result.notes = checked(plan, review);
    const QByteArray xml = AnsiCodec::encode(plan.xml).bytes;
    refuseWithoutSpace(folder, plan, QFileInfo(request.dtdPath).size(), xml.size());
    const QStringList foreign = ReplaceCheck::foreignFiles(target);
    if (!foreign.isEmpty() && !(confirm && confirm(foreign))) throw DeliveryDeclined(foreign);

    Staging staging{FolderSwap::makeStaging(folder, target)};
    result.bytes = fill(staging, target, request, plan, xml, chosen, progress);
    chosen.check();
    result.leftoverFolder = FolderSwap::swapIn(staging.path, target);
    staging.placed = true;
    FileCopy::syncFileSystem(folder); // the renames too
    result.photoCount = int(plan.photos.size());
    return result;
}

} // namespace

void recoverInterrupted(const QString& folder) {
    FolderSwap::recoverUnlessRunning(folder, FolderName);
}

void recoverAllInterrupted() {
    ExportRecords::recoverAll();
}

DeliveryResult run(const DeliveryRequest& request, const Progress& progress, const ConfirmRemoval& confirm,
                   const ConfirmFindings& review) {
    const QString folder = request.folder.isEmpty() ? QString() : QDir(request.folder).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw AppError(fileFailure(u"出力先のフォルダがありません。"_s, request.folder, {}).trimmed());
    const QString target = QDir(folder).filePath(FolderName);
    // Before this run holds any folder, so that this one is put right too.
    ExportRecords::recoverAll();
    // Held to the end: no other run, whatever spelling of the folder or user, touches this
    // folder's hidden folders meanwhile.
    const RunLock lock(FolderSwap::lockFile(folder, FolderName), LockWait);
    if (lock.state() == RunLock::State::Busy)
        throw AppError(
            (QStringList{Busy, QDir::toNativeSeparators(folder)} << lock.holder().lines()).join(u'\n'));
    const ExportRecords::Running running(folder);
    // What killed runs of other users, or under other spellings, left.
    if (lock.state() == RunLock::State::Held) FolderSwap::recover(folder, FolderName);
    // The previous folder, by what it is on the disk: only that one is said to be unchanged.
    const std::optional<FileId> previous = QFileInfo(target).isDir() ? fileId(target) : std::nullopt;
    const OutputFolder chosen(folder);
    try {
        return build(request, chosen, target, progress, confirm, review);
    } catch (const DeliveryRefused&) {
        throw;
    } catch (const DeliveryDeclined&) {
        throw;
    } catch (const DeliveryWithheld&) {
        throw;
    } catch (const AppError& error) {
        if (!previous || fileId(target) != previous) throw;
        throw AppError(error.message() + u"\n\n"_s + Unchanged);
    }
}

QString removalQuestion(const QStringList& files) {
    return ReplaceCheck::foreignText(files, 20) + u"\n\n"_s + RemoveAsk;
}

QString warningQuestion(const QList<Finding>& findings) {
    qsizetype warnings = 0;
    for (const Finding& finding : findings)
        warnings += finding.severity == Finding::Severity::Warning ? 1 : 0;
    return u"電子納品のチェックで警告が "_s + QString::number(warnings) +
           u" 件あります（一覧は「④チェック結果」）。\n"_s
           u"読み込む側によっては受け付けられないおそれがあります。\n"_s +
           WarningsAsk;
}

QString standardLine(PhotoStandard::Version version, const QString& standard) {
    return u"写真管理基準: PHOTO"_s + PhotoStandard::versionCode(version) + u" ("_s + standard + u')';
}

QString doneText(const DeliveryResult& result) {
    return u"電子納品を出力しました（写真 "_s + QString::number(result.photoCount) + u" 枚）。\n"_s +
           standardLine(result.version, result.standard);
}

QString refusalLine(const Finding& finding) {
    Finding placed = finding;
    placed.serial = 0;
    QStringList fields = Findings::line(placed).split(u'\t');
    fields[2] = finding.place.isEmpty() ? u"-"_s : finding.place;
    fields[3] = Findings::item(finding);
    return fields.join(u'\t');
}

QString cancelledText(const QString& folder) {
    // A stop comes before the new folder takes PHOTO's place: a PHOTO folder there is the old one.
    if (folder.isEmpty() || !QFileInfo(QDir(folder).filePath(FolderName)).isDir()) return CancelledText;
    return CancelledText + u"\n\n"_s + Unchanged;
}

QString failureText(const QString& reason) {
    return u"エラー\n"_s + reason;
}

} // namespace DeliveryExport

DeliveryDeclined::DeliveryDeclined(QStringList files)
    : AppError(ReplaceCheck::foreignText(files, int(files.size()))), files_(std::move(files)) {}

DeliveryWithheld::DeliveryWithheld() : AppError(u"警告を見て、出力を取りやめました。"_s) {}

DeliveryRefused::DeliveryRefused(QList<Finding> findings)
    : AppError(u"電子納品のチェックでエラーが見つかったため、出力しませんでした。"_s),
      findings_(std::move(findings)) {}
