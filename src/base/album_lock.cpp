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
    : lock_(lockPathOf(albumPath), wait) {
    if (lock_.state() != RunLock::State::Busy) return;
    QStringList lines{InUse, QDir::toNativeSeparators(albumPath)};
    throw AppError((lines << lock_.holder().lines()).join(u"\r\n"_s));
}
