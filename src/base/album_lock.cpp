#include "base/album_lock.h"

#include "base/app_error.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString AlbumLock::InUse =
    u"アルバムファイルは他の処理で使用中です。しばらくしてからもう一度実行して下さい。"_s;

namespace {

QString lockPathOf(const QString& albumPath) {
    const QFileInfo album(albumPath);
    const QString canonical = album.canonicalFilePath();
    const QFileInfo real(canonical.isEmpty() ? album.absoluteFilePath() : canonical);
    return real.absolutePath() + u"/."_s + real.fileName() + u".lock"_s;
}

} // namespace

AlbumLock::AlbumLock(const QString& albumPath, std::chrono::milliseconds wait)
    : lock_(std::make_unique<QLockFile>(lockPathOf(albumPath))) {
    // A long run holds the lock for as long as it takes; only a dead holder frees it.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(int(wait.count()))) return;
    if (lock_->error() == QLockFile::LockFailedError)
        throw AppError(InUse + u"\r\n"_s + QDir::toNativeSeparators(albumPath));
}
