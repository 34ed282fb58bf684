#include "base/file_io.h"

#include "base/app_error.h"
#include "base/atomic_file.h"
#include "base/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <climits>

using namespace Qt::StringLiterals;

QString fileFailure(const QString& headline, const QString& path, const QString& reason) {
    return headline + u'\n' + QDir::toNativeSeparators(path) + u'\n' + reason;
}

namespace {

// A name the file system cannot hold: a part of the path over 255 bytes, or the whole path
// over 4095.
bool nameTooLong(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (native.size() >= PATH_MAX) return true;
    for (const QByteArray& part : native.split('/'))
        if (part.size() > NAME_MAX) return true;
    return false;
}

} // namespace

QString readFailureReason(const QString& path, int error) {
    const QFileInfo info(path);
    if (nameTooLong(info.absoluteFilePath())) return systemErrorReason(ENAMETOOLONG);
    if (!info.exists()) return u"ファイルが見つかりません。"_s;
    if (info.isDir()) return u"ファイルではなくフォルダです。"_s;
    if (!info.isReadable()) return u"ファイルを読み取る権限がありません。"_s;
    if (error != 0) return systemErrorReason(error);
    return u"ファイルを読み取れませんでした。"_s;
}

QString writeFailureReason(const QString& path) {
    const QFileInfo info(path);
    if (nameTooLong(info.absoluteFilePath())) return systemErrorReason(ENAMETOOLONG);
    if (info.isDir()) return systemErrorReason(EISDIR);
    // The nearest folder that is there decides whether the rest could have been made.
    QFileInfo folder(info.absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    if (!folder.isDir()) return systemErrorReason(ENOTDIR);
    const QStorageInfo volume(folder.absoluteFilePath());
    if (volume.isValid() && volume.isReadOnly()) return systemErrorReason(EROFS);
    const bool folderThere = folder.absoluteFilePath() == info.absolutePath();
    if (!folder.isWritable() || (info.exists() && !info.isWritable())) return systemErrorReason(EACCES);
    if (!folderThere) return systemErrorReason(ENOENT);
    if (freeSpace(folder.absoluteFilePath()) == 0) return systemErrorReason(ENOSPC);
    return u"書き込めませんでした。"_s;
}

std::optional<qint64> freeSpace(const QString& folder) {
    const QStorageInfo volume(folder);
    if (!volume.isValid() || !volume.isReady() || volume.bytesTotal() <= 0 || volume.bytesAvailable() < 0)
        return std::nullopt;
    return volume.bytesAvailable();
}

QString folderFailureReason(const QString& path) {
    // As a file inside it would fail: a file in its place, a missing or read-only parent.
    return writeFailureReason(QDir(path).filePath(u"x"_s));
}

QByteArray readWholeFile(const QString& path, const QString& headline, qint64 maxBytes) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        throw AppError(fileFailure(headline, path, readFailureReason(path)));
    if (maxBytes >= 0 && file.size() > maxBytes)
        throw AppError(
            fileFailure(headline, path,
                        u"ファイルが大きすぎます（"_s + QString::number(maxBytes / 1024) + u" KB 超）。"_s));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(fileFailure(headline, path, u"ファイルを読み取れませんでした。"_s));
    return bytes;
}

void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& headline,
                         const OutputFolder* within) {
    AtomicFile file = within ? AtomicFile(path, headline, *within) : AtomicFile(path, headline);
    // What killed runs left in the folder goes as soon as a run writes there, whether or not
    // this write gets through.
    AtomicFile::removeLeftovers(QFileInfo(file.path()).absolutePath());
    file.write(bytes);
    file.commit();
}

void writeReplaceableFile(const QString& path, const QByteArray& bytes, const QString& headline) {
    AtomicFile file(path, headline, AtomicFile::Sync::Later);
    file.write(bytes);
    file.commit();
}
