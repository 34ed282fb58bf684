#include "app/file_io.h"

#include "app/app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(fileFailure(headline, path, writeFailureReason(path)));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        throw AppError(fileFailure(headline, path, writeFailureReason(path)));
    }
    if (!file.commit()) throw AppError(fileFailure(headline, path, writeFailureReason(path)));
}

void writeReplaceableFile(const QString& path, const QByteArray& bytes, const QString& headline) {
    QTemporaryFile file(path + u".XXXXXX"_s);
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        throw AppError(fileFailure(headline, path, writeFailureReason(path)));
    file.close();
    // Renaming over the old file is atomic; QFile::rename would refuse to replace it.
    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(file.fileName().toStdU16String()),
                            std::filesystem::path(path.toStdU16String()), failure);
    if (failure) throw AppError(fileFailure(headline, path, writeFailureReason(path)));
    file.setAutoRemove(false);
}

bool isSameFile(const QString& first, const QString& second) {
#ifdef Q_OS_UNIX
    struct stat a {};
    struct stat b {};
    if (::stat(QFile::encodeName(first).constData(), &a) != 0 ||
        ::stat(QFile::encodeName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
#else
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty() &&
           canonical.compare(QFileInfo(second).canonicalFilePath(), Qt::CaseInsensitive) == 0;
#endif
}
