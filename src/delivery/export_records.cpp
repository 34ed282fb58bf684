#include "delivery/export_records.h"

#include "delivery/folder_swap.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace ExportRecords {

namespace {

// Another process putting the folder right holds its record only for a moment.
constexpr int ClaimAttempts = 40;
constexpr int ClaimPauseMs = 50;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// A record removed by the process that held it before is not acted on.
bool stillNamed(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && status.st_nlink > 0;
}

bool lockWithoutWaiting(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

QString folderIn(int fd) {
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) return {};
    return QFile::decodeName(file.read(64 * 1024));
}

} // namespace

QString defaultFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data.isEmpty() ? QString() : data + u"/Tovenla2/exports"_s;
}

Running::Running(const QString& folder, const QString& records) {
    if (records.isEmpty() || !QDir().mkpath(records)) return;
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty()) canonical = QFileInfo(folder).absoluteFilePath();
    const QByteArray text = native(canonical);
    const QString path = QDir(records).filePath(
        QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Sha1).toHex()) + u".export"_s);
    for (int attempt = 0; attempt < ClaimAttempts; ++attempt) {
        const int fd = ::open(native(path).constData(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0) return;
        if (!lockWithoutWaiting(fd)) {
            const bool claimed = errno == EWOULDBLOCK;
            ::close(fd);
            if (!claimed) return;
            QThread::msleep(ClaimPauseMs);
            continue;
        }
        if (!stillNamed(fd)) {
            ::close(fd);
            continue;
        }
        if (::ftruncate(fd, 0) != 0 ||
            ::pwrite(fd, text.constData(), size_t(text.size()), 0) != text.size()) {
            ::unlink(native(path).constData());
            ::close(fd);
            return;
        }
        fd_ = fd;
        path_ = path;
        return;
    }
}

Running::~Running() {
    if (fd_ < 0) return;
    ::unlink(native(path_).constData()); // while still locked, so no one takes it for a killed one
    ::close(fd_);
}

void recoverAll(const QString& records) {
    if (records.isEmpty()) return;
    const QDir dir(records);
    for (const QString& name : dir.entryList({u"*.export"_s}, QDir::Files)) {
        const QString path = dir.filePath(name);
        const int fd = ::open(native(path).constData(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;
        if (lockWithoutWaiting(fd) && stillNamed(fd)) {
            const QString folder = folderIn(fd);
            if (folder.isEmpty() || !QFileInfo(folder).isDir() ||
                FolderSwap::recoverUnlessRunning(folder, u"PHOTO"_s))
                ::unlink(native(path).constData());
        }
        ::close(fd);
    }
}

} // namespace ExportRecords
