#include "app/file_io.h"

#include "app/app_error.h"
#include "app/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

QString fileFailure(const QString& headline, const QString& path, const QString& reason) {
    return headline + u'\n' + QDir::toNativeSeparators(path) + u'\n' + reason;
}

QString readFailureReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return u"ファイルが見つかりません。"_s;
    if (info.isDir()) return u"ファイルではなくフォルダです。"_s;
    if (!info.isReadable()) return u"ファイルを読み取る権限がありません。"_s;
    return u"ファイルを読み取れませんでした。"_s;
}

QString writeFailureReason(const QString& path) {
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) return u"保存先のフォルダが見つかりません。"_s;
    if (info.isDir()) return u"同じ名前のフォルダがあります。"_s;
    if (!folder.isWritable() || (info.exists() && !info.isWritable()))
        return u"書き込む権限がありません（読み取り専用のファイルかフォルダです）。"_s;
    return u"書き込めませんでした（ディスクの空きが足りない可能性があります）。"_s;
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

void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& headline) {
    AtomicFile file(path, headline);
    file.write(bytes);
    file.commit();
    AtomicFile::removeLeftovers(QFileInfo(file.path()).absolutePath());
}

void writeReplaceableFile(const QString& path, const QByteArray& bytes, const QString& headline) {
    AtomicFile file(path, headline, AtomicFile::Sync::Later);
    file.write(bytes);
    file.commit();
}

std::optional<FileId> fileId(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) return std::nullopt;
    return FileId{quint64(status.st_dev), quint64(status.st_ino)};
}

bool isSameFile(const QString& first, const QString& second) {
    const std::optional<FileId> a = fileId(first);
    return a && a == fileId(second);
}
