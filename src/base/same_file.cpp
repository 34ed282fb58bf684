#include "base/same_file.h"

#include "base/case_fold.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

FileIdOverride::Lookup& overridden() {
    static FileIdOverride::Lookup lookup;
    return lookup;
}

} // namespace

size_t qHash(const FileId& id, size_t seed) noexcept {
    return qHashMulti(seed, id.device, id.inode);
}

std::optional<FileId> fileId(const QString& path) {
    if (const FileIdOverride::Lookup& lookup = overridden()) return lookup(path);
    return FileIdOverride::fromDisk(path);
}

QString foldedName(const QString& path) {
    if (path.isEmpty()) return {};
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const qsizetype cut = absolute.lastIndexOf(u'/');
    const QString parent = cut <= 0 ? u"/"_s : absolute.first(cut);
    // A folder reached through a link is the same folder; one not there yet is taken as written.
    QString folder = QFileInfo(parent).canonicalFilePath();
    if (folder.isEmpty()) folder = parent;
    return caseFolded(QDir(folder).filePath(absolute.sliced(cut + 1)));
}

FileIdentity FileIdentity::of(const QString& path) {
    return {fileId(path), foldedName(path)};
}

bool isSameFile(const FileIdentity& first, const FileIdentity& second) {
    if (first.id && first.id == second.id) return true;
    return !first.name.isEmpty() && first.name == second.name;
}

bool isSameFile(const QString& first, const QString& second) {
    return isSameFile(FileIdentity::of(first), FileIdentity::of(second));
}

void SameFiles::add(const FileIdentity& file, qsizetype value) {
    if (file.id) byId_.insert(*file.id, value);
    if (!file.name.isEmpty()) byName_.insert(file.name, value);
}

QList<qsizetype> SameFiles::find(const FileIdentity& file) const {
    QList<qsizetype> found;
    if (file.id) found << byId_.values(*file.id);
    if (!file.name.isEmpty()) found << byName_.values(file.name);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

FileIdOverride::FileIdOverride(Lookup lookup) : previous_(std::exchange(overridden(), std::move(lookup))) {}

FileIdOverride::~FileIdOverride() {
    overridden() = std::move(previous_);
}

std::optional<FileId> FileIdOverride::fromDisk(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) return std::nullopt;
    return FileId{quint64(status.st_dev), quint64(status.st_ino)};
}
