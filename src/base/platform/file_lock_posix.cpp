#include "base/platform/file_lock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far past any record, yet within the 32-bit offsets an old file server takes.
constexpr off_t LockedByte = 0x40000000;
// A holder that lets go removes the file; a run that locked the removed file tries again.
constexpr int Attempts = 20;

// An open file description's lock (not the process's): it conflicts with every other open of
// the file, in this process too, and closing another descriptor never drops it. Such locks
// reach the server on NFS and SMB shares.
bool lockByte(int fd) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = LockedByte;
    lock.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool isNamedBy(int fd, const QByteArray& path) {
    struct stat open {};
    struct stat named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

} // namespace

FileLock::FileLock(QString path) : path_(std::move(path)) {}

FileLock::~FileLock() {
    release();
}

FileLock::Result FileLock::tryLock() {
    if (fd_ >= 0) return Result::Locked;
    const QByteArray path = QFile::encodeName(path_);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            // Every user who may write the folder may lock it, whatever this user's umask.
            (void)::fchmod(fd, 0666);
        } else if (errno == EEXIST) {
            fd = ::open(path.constData(), O_RDWR | O_CLOEXEC);
            if (fd < 0 && errno == ENOENT) continue; // removed by its holder just now
        }
        if (fd < 0) return Result::Unavailable;
        if (!lockByte(fd)) {
            const int error = errno;
            ::close(fd);
            return error == EAGAIN || error == EACCES ? Result::Held : Result::Unavailable;
        }
        if (isNamedBy(fd, path)) {
            fd_ = fd;
            return Result::Locked;
        }
        ::close(fd);
    }
    return Result::Held;
}

bool FileLock::write(const QByteArray& text) {
    return fd_ >= 0 && ::ftruncate(fd_, 0) == 0 &&
           ::pwrite(fd_, text.constData(), size_t(text.size()), 0) == text.size();
}

void FileLock::release() {
    if (fd_ < 0) return;
    const QByteArray path = QFile::encodeName(path_);
    if (isNamedBy(fd_, path)) ::unlink(path.constData());
    ::close(fd_);
    fd_ = -1;
}
