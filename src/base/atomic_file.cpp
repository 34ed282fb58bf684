#include "base/atomic_file.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/system_error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStorageInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr size_t Chunk = 8 * 1024 * 1024;

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

int retrying(const std::function<int()>& call) {
    int result;
    do {
        result = call();
    } while (result < 0 && errno == EINTR);
    return result;
}

// A link written as the output is followed, so the file it points to is the one replaced.
QString followLinks(QString path) {
    for (int depth = 0; depth < 40 && QFileInfo(path).isSymLink(); ++depth)
        path = QFileInfo(path).symLinkTarget();
    return path;
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        size -= size_t(n);
    }
    return true;
}

// For file systems where the kernel cannot copy between the two files, and to learn which of
// them failed when the kernel's copy did: readFailed tells the side of a failure.
ssize_t readWrite(int in, int out, size_t count, bool& readFailed) {
    static thread_local QByteArray buffer(1024 * 1024, Qt::Uninitialized);
    ssize_t got;
    do {
        got = ::read(in, buffer.data(), std::min(count, size_t(buffer.size())));
    } while (got < 0 && errno == EINTR);
    readFailed = got < 0;
    if (got <= 0) return got;
    return writeAll(out, buffer.constData(), size_t(got)) ? got : -1;
}

const QString TemporaryPrefix = u".tovenla-"_s;
const QString TemporarySuffix = u".tmp"_s;

// Short, so that it fits wherever the final name fits; it names the process that made it, so
// that a later run can tell a leftover of a killed run from a file still being written.
QString temporaryName(const QString& folder) {
    return folder + u'/' + TemporaryPrefix + QString::number(::getpid()) + u'-' +
           QString::number(QRandomGenerator::global()->generate64(), 36) + TemporarySuffix;
}

bool isNetworkFileSystem(const QByteArray& type) {
    static const QList<QByteArray> network = {"cifs", "smb3",  "smbfs",      "nfs",   "nfs4",       "9p",
                                              "afs",  "ncpfs", "fuse.sshfs", "davfs", "fuse.davfs2"};
    return network.contains(type);
}

} // namespace

AtomicFile::AtomicFile(const QString& path, QString headline, Sync sync)
    : path_(followLinks(QFileInfo(path).absoluteFilePath())), headline_(std::move(headline)), sync_(sync) {
    open();
}

AtomicFile::AtomicFile(const QString& path, QString headline, const OutputFolder& within, Sync sync)
    : path_(followLinks(QFileInfo(path).absoluteFilePath())), headline_(std::move(headline)), sync_(sync),
      within_(&within) {
    open();
}

CopySourceError::CopySourceError(const QString& path, const QString& reason)
    : AppError(fileFailure(u"コピー元を読めません。"_s, path, reason)), path_(path), reason_(reason) {}

AtomicFile::~AtomicFile() {
    discard();
}

void AtomicFile::open() {
    if (within_) within_->check();
    if (QFileInfo(path_).isDir()) fail(EISDIR);
    const QString folder = QFileInfo(path_).absolutePath();
    // A file without a name leaves nothing behind when the program is killed.
    fd_ =
        retrying([&] { return ::open(native(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666); });
    if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
            named_ = temporaryName(folder);
            fd_ = retrying([&] {
                return ::open(native(named_).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            });
            if (fd_ < 0 && errno != EEXIST) break;
        }
        if (fd_ < 0) named_.clear();
    }
    if (fd_ < 0) fail(errno);
    // A replaced file keeps who may read it.
    struct stat old {};
    if (::stat(native(path_).constData(), &old) == 0) ::fchmod(fd_, old.st_mode & 07777);
}

void AtomicFile::write(QByteArrayView bytes) {
    if (!writeAll(fd_, bytes.data(), size_t(bytes.size()))) fail(errno);
}

void AtomicFile::copyFrom(const QString& source, const Progress& progress) {
    const int in = retrying([&] { return ::open(native(source).constData(), O_RDONLY | O_CLOEXEC); });
    if (in < 0) {
        const int error = errno;
        throw CopySourceError(source, readFailureReason(source, error));
    }
    const auto closeSource = qScopeGuard([in] { ::close(in); });
    struct stat status {};
    const qint64 size = ::fstat(in, &status) == 0 ? qint64(status.st_size) : 0;
    bool kernelCopy = true;
    qint64 copied = 0;
    for (;;) {
        bool readFailed = false;
        const ssize_t n = kernelCopy ? ::copy_file_range(in, nullptr, fd_, nullptr, Chunk, 0)
                                     : readWrite(in, fd_, Chunk, readFailed);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && kernelCopy) {
            // The kernel cannot copy here, or one of the files failed and it does not say which:
            // copying by hand goes on where it can and otherwise tells the side.
            kernelCopy = false;
            continue;
        }
        if (n < 0 && readFailed) {
            const int error = errno;
            discard();
            throw CopySourceError(source, readFailureReason(source, error));
        }
        if (n < 0) fail(errno);
        if (n == 0) break;
        copied += n;
        try {
            progress.report({{}, copied, std::max(size, copied), 0});
        } catch (const Cancelled&) {
            discard();
            throw;
        }
    }
    // A source cut short while it was read (replaced, or its share gone) would be copied as half
    // a photo.
    if (copied < size) {
        discard();
        throw CopySourceError(source, u"ファイルを最後まで読み取れませんでした。"_s);
    }
}

void AtomicFile::finish() {
    if (finished_) return;
    if (sync_ == Sync::Each && ::fsync(fd_) != 0) fail(errno);
    finished_ = true;
}

void AtomicFile::commit() {
    finish();
    // The file was begun in the folder; a folder put in its place since must not get it.
    if (within_) within_->check();
    if (named_.isEmpty()) {
        // The nameless file gets a hidden name first: only a rename replaces a file in one step.
        const QString procPath = u"/proc/self/fd/"_s + QString::number(fd_);
        const QString folder = QFileInfo(path_).absolutePath();
        for (int attempt = 0; named_.isEmpty() && attempt < 100; ++attempt) {
            const QString candidate = temporaryName(folder);
            if (::linkat(AT_FDCWD, native(procPath).constData(), AT_FDCWD, native(candidate).constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                named_ = candidate;
            else if (errno != EEXIST)
                fail(errno);
        }
        if (named_.isEmpty()) fail(EEXIST);
    }
    // The named file is renamed at once, so that a kill leaves almost no moment in which the
    // temporary name exists.
    if (::rename(native(named_).constData(), native(path_).constData()) != 0) fail(errno);
    named_.clear();
    const int fd = fd_;
    fd_ = -1;
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0 && errno != EINTR) fail(errno);
    if (sync_ == Sync::Each) {
        // The rename itself reaches the disk with its folder.
        const int folder =
            ::open(native(QFileInfo(path_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
}

void AtomicFile::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!named_.isEmpty()) ::unlink(native(named_).constData());
    named_.clear();
}

void AtomicFile::removeLeftovers(const QString& folder) {
    const QStringList names = QDir(folder).entryList({TemporaryPrefix + u'*' + TemporarySuffix},
                                                     QDir::Files | QDir::Hidden | QDir::System);
    if (names.isEmpty()) return;
    // On a share a temporary file may be another computer's save under way, whose process
    // number says nothing here: there only one left alone for a long time is a leftover.
    const bool shared = isNetworkFileSystem(QStorageInfo(folder).fileSystemType());
    const QDateTime longAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    for (const QString& name : names) {
        bool ok = false;
        const pid_t pid = pid_t(name.sliced(TemporaryPrefix.size()).section(u'-', 0, 0).toLongLong(&ok));
        const QString path = QDir(folder).filePath(name);
        if (!ok || pid <= 0 || (shared && QFileInfo(path).lastModified().toUTC() > longAgo)) continue;
        if (::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(native(path).constData());
    }
}

void AtomicFile::fail(int error) {
    discard();
    throw AppError(fileFailure(headline_, path_, systemErrorReason(error)));
}
