#include "delivery/delivery_export.h"

#include "app/ansi_codec.h"
#include "app/app_error.h"
#include "app/file_io.h"
#include "delivery/delivery_plan.h"
#include "delivery/delivery_review.h"
#include "delivery/file_copy.h"
#include "delivery/photo_xml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <stdio.h>
#endif

using namespace Qt::StringLiterals;

namespace DeliveryExport {

const QString FolderName = u"PHOTO"_s;
const QString DtdName = u"PHOTO03.DTD"_s;
const QString XmlName = u"PHOTO.XML"_s;
const QString FailureTitle = u"Tovenla2"_s;
const QString Cancelled = u"電子納品の出力を中止しました。"_s;

namespace {

const QString Unchanged = u"以前の PHOTO フォルダは変更していません。"_s;
const QString StagingPattern = u".PHOTO-new-"_s;
const QString AsidePattern = u".PHOTO-old-"_s;

// Swaps two folders in one step where the system can, so that no moment exists without a
// PHOTO folder.
bool exchange(const QString& first, const QString& second) {
#ifdef Q_OS_LINUX
    return ::renameat2(AT_FDCWD, QFile::encodeName(first).constData(), AT_FDCWD,
                       QFile::encodeName(second).constData(), RENAME_EXCHANGE) == 0;
#else
    Q_UNUSED(first);
    Q_UNUSED(second);
    return false;
#endif
}

void makeFolder(const QString& path) {
    if (!QDir().mkdir(path))
        throw AppError(
            fileFailure(u"フォルダを作成できませんでした。"_s, path, writeFailureReason(path + u"/x"_s)));
}

struct Copier {
    const Progress& progress;
    qint64 total;
    qint64 done = 0;

    void copy(const QString& source, const QString& target) {
        const auto outcome = FileCopy::copy(
            source, target, [&](qint64 copied) { return !progress || progress(done + copied, total); });
        if (outcome == FileCopy::Outcome::Stopped) throw AppError(Cancelled);
        done += QFileInfo(target).size();
    }
};

// The new folder is complete and on the disk: the old one is moved aside, the new one takes
// its name, and only then is the old one removed.
QString swapIn(const QString& staging, const QString& target) {
    const QFileInfo old(target);
    if ((old.exists() || old.isSymLink()) && exchange(staging, target))
        return QDir(staging).removeRecursively() ? QString() : staging; // staging now holds the old one
    QString aside;
    if (old.exists() || old.isSymLink()) {
        QTemporaryDir placeholder(old.absolutePath() + u'/' + AsidePattern + u"XXXXXX"_s);
        placeholder.setAutoRemove(false); // it takes the previous delivery, which must outlive this block
        aside = placeholder.path();
        if (!placeholder.isValid() || !QDir().rmdir(aside) || !QDir().rename(target, aside))
            throw AppError(fileFailure(u"以前の PHOTO フォルダを置き換えられませんでした。"_s, target,
                                       writeFailureReason(target)));
    }
    if (!QDir().rename(staging, target)) {
        if (!aside.isEmpty()) QDir().rename(aside, target);
        throw AppError(
            fileFailure(u"PHOTO フォルダを作成できませんでした。"_s, target, writeFailureReason(target)));
    }
    if (aside.isEmpty() || QDir(aside).removeRecursively()) return {};
    return aside;
}

} // namespace

void recoverInterrupted(const QString& folder) {
    const QDir dir(folder);
    const QString target = dir.filePath(FolderName);
    const auto leftovers = [&](const QString& pattern) {
        return dir.entryInfoList({pattern + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                 QDir::Time);
    };
    for (const QFileInfo& aside : leftovers(AsidePattern)) {
        const QFileInfo current(target);
        if (!current.exists() && !current.isSymLink() && QDir().rename(aside.filePath(), target)) continue;
        QDir(aside.filePath()).removeRecursively();
    }
    for (const QFileInfo& staging : leftovers(StagingPattern))
        QDir(staging.filePath()).removeRecursively();
}

DeliveryResult run(const DeliveryRequest& request, const Progress& progress) {
    const QString target = QDir(request.folder).filePath(FolderName);
    if (!request.folder.isEmpty() && QFileInfo(request.folder).isDir()) recoverInterrupted(request.folder);
    const bool hadPrevious = QFileInfo::exists(target);
    try {
        if (request.folder.isEmpty() || !QFileInfo(request.folder).isDir())
            throw AppError(fileFailure(u"出力先のフォルダがありません。"_s, request.folder, {}).trimmed());
        if (request.dtdPath.isEmpty() || !QFileInfo(request.dtdPath).isFile())
            throw AppError(u"プログラムフォルダに "_s + PhotoStandard::dtdName(request.version) +
                           u" がありません。"_s);
        const DeliveryPlan plan = DeliveryPlanner::plan(request);
        QList<Finding> notes;
        if (plan.version == PhotoStandard::Version::V03) {
            DeliveryPlanner::refuseProblems(plan);
        } else {
            const QList<Finding> findings = DeliveryReview::review(plan);
            if (Findings::hasErrors(findings)) throw DeliveryRefused(findings);
            notes = findings;
        }
        const QByteArray xml = AnsiCodec::encode(plan.xml).bytes;

        QTemporaryDir staging(QDir(request.folder).filePath(StagingPattern + u"XXXXXX"_s));
        if (!staging.isValid())
            throw AppError(fileFailure(u"PHOTO フォルダを作成できませんでした。"_s, request.folder,
                                       writeFailureReason(QDir(request.folder).filePath(FolderName))));
        const QDir out(staging.path());
        makeFolder(out.filePath(u"DRA"_s));
        makeFolder(out.filePath(u"PIC"_s));

        Copier copier{progress, plan.totalBytes + QFileInfo(request.dtdPath).size()};
        copier.copy(request.dtdPath, out.filePath(PhotoStandard::dtdName(plan.version)));
        for (const DeliveryPhoto& photo : plan.photos)
            copier.copy(photo.sourcePath, out.filePath(u"PIC/"_s + PhotoXml::serialFileName(photo.serial)));
        writeFileAtomically(out.filePath(XmlName), xml, u"PHOTO.XML を書き込めませんでした。"_s);
        FileCopy::syncFileSystem(staging.path());

        DeliveryResult result;
        result.leftoverFolder = swapIn(staging.path(), target);
        staging.setAutoRemove(false);
        FileCopy::syncFileSystem(request.folder); // the renames too
        result.photoCount = int(plan.photos.size());
        result.bytes = copier.done;
        result.notes = notes;
        return result;
    } catch (const DeliveryRefused&) {
        throw;
    } catch (const AppError& error) {
        if (!hadPrevious) throw;
        throw AppError(error.message() + u"\n\n"_s + Unchanged);
    }
}

QString refusalLine(const Finding& finding) {
    Finding placed = finding;
    placed.serial = 0;
    QStringList fields = Findings::line(placed).split(u'\t');
    fields[2] = finding.place.isEmpty() ? u"-"_s : finding.place;
    return fields.join(u'\t');
}

QString failureText(const QString& reason) {
    return u"エラー\n"_s + reason;
}

} // namespace DeliveryExport

DeliveryRefused::DeliveryRefused(QList<Finding> findings)
    : AppError(u"電子納品のチェックでエラーが見つかったため、出力しませんでした。"_s),
      findings_(std::move(findings)) {}
