#include "support/test_media.h"

#include "base/photo_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

using namespace Qt::StringLiterals;

SpellingIdentities::SpellingIdentities()
    : override_([](const QString& path) -> std::optional<FileId> {
          const QFileInfo info(path);
          const QString found = PhotoFile::resolve(QDir::cleanPath(info.absoluteFilePath()));
          const std::optional<FileId> disk = FileIdOverride::fromDisk(found);
          if (!disk) return std::nullopt;
          return FileId{disk->device, disk->inode * 1000003u + qHash(info.fileName())};
      }) {}

TestMount::TestMount(Kind kind) {
    if (::geteuid() != 0) {
        failure_ = u"mounting a file system needs root"_s;
        return;
    }
    path_ = work_.filePath(u"mounted"_s);
    QDir().mkpath(path_);
    if (kind == Kind::Exfat)
        mountExfat();
    else
        mounted_ = run(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=0"_s, u"tmpfs"_s, path_});
}

TestMount::~TestMount() {
    if (mounted_) run(u"umount"_s, {path_});
    // Detached at once, or when the file system's process lets go of it.
    if (!loopDevice_.isEmpty()) run(u"losetup"_s, {u"-d"_s, loopDevice_});
}

bool TestMount::run(const QString& program, const QStringList& arguments, QString* output) {
    const QString found =
        QStandardPaths::findExecutable(program, {u"/usr/sbin"_s, u"/sbin"_s, u"/usr/bin"_s});
    if (found.isEmpty()) {
        failure_ = program + u" is not installed"_s;
        return false;
    }
    QProcess process;
    process.start(found, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        failure_ = program + u" "_s + arguments.join(u' ') + u" failed: "_s +
                   QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return false;
    }
    if (output) *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    return true;
}

void TestMount::mountExfat() {
    const QString image = work_.filePath(u"stick.img"_s);
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(32 * 1024 * 1024)) {
        failure_ = u"cannot make the image file"_s;
        return;
    }
    file.close();
    if (!run(u"mkfs.exfat"_s, {image})) return;
    // As root the FUSE driver wants a block device.
    if (!run(u"losetup"_s, {u"--find"_s, u"--show"_s, image}, &loopDevice_)) {
        loopDevice_.clear();
        return;
    }
    mounted_ = run(u"mount.exfat-fuse"_s, {loopDevice_, path_});
}
