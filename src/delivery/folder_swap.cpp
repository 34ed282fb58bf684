#include "delivery/folder_swap.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/run_lock.h"
#include "base/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace FolderSwap {

const QString StagingPrefix = u".PHOTO-new-"_s;
const QString AsidePrefix = u".PHOTO-old-"_s;

namespace {

const QString NotMade = u"PHOTO フォルダを作成できませんでした。"_s;
const QString NotReplaced = u"以前の PHOTO フォルダを置き換えられませんでした。"_s;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// A dangling link does not "exist" for QFileInfo, yet it holds the name.
bool present(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString hiddenName(const QString& folder, const QString& prefix) {
    QString name;
    do {
        name = QDir(folder).filePath(prefix + QString::number(QRandomGenerator::global()->generate(), 36));
    } while (present(name));
    return name;
}

// Swaps two entries in one step where the system can, so that no moment exists without a
// PHOTO entry.
bool exchange(const QString& first, const QString& second) {
    return ::renameat2(AT_FDCWD, native(first).constData(), AT_FDCWD, native(second).constData(),
                       RENAME_EXCHANGE) == 0;
}

bool rename(const QString& from, const QString& to) {
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

} // namespace

QString makeStaging(const QString& folder, const QString& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path = hiddenName(folder, StagingPrefix);
        if (::mkdir(native(path).constData(), 0777) == 0) return path;
        if (errno != EEXIST) break;
    }
    throw AppError(fileFailure(NotMade, target, systemErrorReason(errno)));
}

bool removeEntry(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir()) return !present(path) || QFile::remove(path);
    return QDir(path).removeRecursively();
}

QString swapIn(const QString& staging, const QString& target) {
    if (!present(target)) {
        if (!rename(staging, target)) throw AppError(fileFailure(NotMade, target, systemErrorReason(errno)));
        return {};
    }
    QString previous = staging; // after the exchange the hidden name holds the previous entry
    if (!exchange(staging, target)) {
        // File systems without the exchange: the previous entry is moved aside first.
        previous = hiddenName(QFileInfo(target).absolutePath(), AsidePrefix);
        if (!rename(target, previous))
            throw AppError(fileFailure(NotReplaced, target, systemErrorReason(errno)));
        if (!rename(staging, target)) {
            const int error = errno;
            rename(previous, target);
            throw AppError(fileFailure(NotMade, target, systemErrorReason(error)));
        }
    }
    return removeEntry(previous) ? QString() : previous;
}

QString lockFile(const QString& folder, const QString& targetName) {
    return QDir(folder).filePath(u'.' + targetName + u".lock"_s);
}

bool recoverUnlessRunning(const QString& folder, const QString& targetName) {
    const RunLock lock(lockFile(folder, targetName), std::chrono::milliseconds(0));
    if (lock.state() == RunLock::State::Held) recover(folder, targetName);
    return lock.state() != RunLock::State::Busy;
}

void recover(const QString& folder, const QString& targetName) {
    const QDir dir(folder);
    const QString target = dir.filePath(targetName);
    const auto leftovers = [&](const QString& prefix) {
        return dir.entryInfoList({prefix + u'*'},
                                 QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                 QDir::Time);
    };
    for (const QFileInfo& aside : leftovers(AsidePrefix)) {
        if (!present(target) && rename(aside.filePath(), target)) continue;
        removeEntry(aside.filePath());
    }
    for (const QFileInfo& staging : leftovers(StagingPrefix))
        removeEntry(staging.filePath());
}

} // namespace FolderSwap
