#include "delivery/file_copy.h"

#include "app/app_error.h"
#include "app/file_io.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace FileCopy {

namespace {

constexpr size_t Chunk = 8 * 1024 * 1024;

const QString CopyFailed = u"写真をコピーできませんでした。"_s;

QString reasonFor(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return u"ディスクの空きが足りません。"_s;
    case EACCES:
    case EPERM:
    case EROFS:
        return u"書き込む権限がありません。"_s;
    case EIO:
        return u"ディスクの読み書きに失敗しました。"_s;
    default:
        return QString::fromLocal8Bit(strerror(error));
    }
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // close() reports write errors that some file systems only find at that point.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

int openFile(const QString& path, int flags) {
    int fd;
    do {
        fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// For file systems where the kernel cannot copy between the two files.
ssize_t readWrite(int in, int out, size_t count) {
    static thread_local QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    const ssize_t got = ::read(in, buffer.data(), std::min(count, size_t(buffer.size())));
    if (got <= 0) return got;
    for (ssize_t written = 0; written < got;) {
        const ssize_t n = ::write(out, buffer.constData() + written, size_t(got - written));
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        written += n;
    }
    return got;
}

} // namespace

Outcome copy(const QString& source, const QString& target, const Progress& progress) {
    Descriptor in(openFile(source, O_RDONLY));
    if (in.get() < 0) throw AppError(fileFailure(CopyFailed, source, readFailureReason(source)));
    Descriptor out(openFile(target, O_WRONLY | O_CREAT | O_EXCL));
    if (out.get() < 0) throw AppError(fileFailure(CopyFailed, target, reasonFor(errno)));

    bool kernelCopy = true;
    qint64 copied = 0;
    for (;;) {
        ssize_t n = kernelCopy ? ::copy_file_range(in.get(), nullptr, out.get(), nullptr, Chunk, 0)
                               : readWrite(in.get(), out.get(), Chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && kernelCopy && copied == 0 &&
            (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
            kernelCopy = false;
            continue;
        }
        if (n < 0) {
            const int error = errno;
            throw AppError(fileFailure(CopyFailed, target, reasonFor(error)));
        }
        if (n == 0) break;
        copied += n;
        if (progress && !progress(copied)) return Outcome::Stopped;
    }
    if (!out.close()) {
        const int error = errno;
        throw AppError(fileFailure(CopyFailed, target, reasonFor(error)));
    }
    return Outcome::Done;
}

void syncFileSystem(const QString& folder) {
    Descriptor fd(openFile(folder, O_RDONLY | O_DIRECTORY));
    if (fd.get() < 0 || ::syncfs(fd.get()) != 0) {
        const int error = errno;
        throw AppError(
            fileFailure(u"ディスクへの書き込みを完了できませんでした。"_s, folder, reasonFor(error)));
    }
}

} // namespace FileCopy
