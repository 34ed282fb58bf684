#include "base/platform/folder_listing.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

namespace FolderListing {

namespace {

// The kind the listing gives, or what a link or an unknown entry turns out to be.
std::optional<Kind> kindOf(DIR* dir, const dirent& entry) {
    if (entry.d_type == DT_REG) return Kind::File;
    if (entry.d_type == DT_DIR) return Kind::Folder;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return std::nullopt;
    struct stat status {};
    if (::fstatat(::dirfd(dir), entry.d_name, &status, 0) != 0) return std::nullopt;
    if (S_ISREG(status.st_mode)) return Kind::File;
    if (S_ISDIR(status.st_mode)) return Kind::Folder;
    return std::nullopt;
}

} // namespace

bool forEach(const QString& folder, const std::function<void(const QString& name, Kind kind)>& found) {
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        // File names here are UTF-8, as QFile::decodeName reads them, without its cost per call.
        if (const std::optional<Kind> kind = kindOf(dir, *entry)) found(QString::fromUtf8(name), *kind);
    }
    ::closedir(dir);
    return true;
}

} // namespace FolderListing
