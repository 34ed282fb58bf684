#include "delivery/file_copy.h"

#include "base/app_error.h"
#include "base/atomic_file.h"
#include "base/file_io.h"
#include "base/system_error.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace FileCopy {

void copy(const QString& source, const QString& target, const OutputFolder& within,
          const Progress& progress) {
    AtomicFile out(target, u"写真をコピーできませんでした。"_s, within, AtomicFile::Sync::Later);
    out.copyFrom(source, progress);
    out.commit();
}

void syncFileSystem(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::syncfs(fd) != 0) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        throw AppError(
            fileFailure(u"ディスクへの書き込みを完了できませんでした。"_s, folder, systemErrorReason(error)));
    }
    ::close(fd);
}

} // namespace FileCopy
