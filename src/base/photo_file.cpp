#include "base/photo_file.h"

#include "base/case_fold.h"
#include "base/platform/folder_listing.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace PhotoFile {

namespace {

// stat directly: lists of a hundred thousand photos are checked, and almost all of them exist.
bool exists(const QString& path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

bool isFile(const QString& path) {
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

qsizetype lastSeparator(const QString& path) {
    qsizetype cut = path.lastIndexOf(u'/');
    if (QDir::separator() != u'/') cut = std::max(cut, path.lastIndexOf(QDir::separator()));
    return cut;
}

} // namespace

QString resolve(const QString& path) {
    return Resolver().resolve(path);
}

QString Resolver::resolve(const QString& path) {
    return resolveIn(path, false);
}

QString Resolver::resolveFolder(const QString& folder) {
    return resolveIn(folder, true);
}

QString Resolver::resolveIn(const QString& path, bool wantFolder) {
    if (path.isEmpty() || !QDir::isAbsolutePath(path) || exists(path)) return path;
    const qsizetype cut = lastSeparator(path);
    const QString name = path.sliced(cut + 1);
    if (cut < 1 || name.isEmpty() || name == u"."_s || name == u".."_s) return path;
    const QString folder = resolveFolder(path.first(cut));
    if (folder != path.first(cut)) {
        // Found by letter case on the way: the name itself may be there as written.
        const QString asWritten = folder + path.sliced(cut);
        if (exists(asWritten)) return asWritten;
    }
    if (!exists(folder)) return path;
    const Names entry = listing(folder).names.value(caseFolded(name));
    const QString found = (wantFolder ? entry.folder : entry.file).only();
    return found.isEmpty() ? path : folder + path.at(cut) + found;
}

QString Resolver::findFile(const QString& path) {
    const qsizetype cut = lastSeparator(path);
    const Listing* entries = cut > 0 ? &listing(QStringView(path).first(cut)) : nullptr;
    if (!entries || !entries->read) {
        const QString found = resolve(path);
        return isFile(found) ? found : QString();
    }
    const QStringView name = QStringView(path).sliced(cut + 1);
    const auto it = entries->names.constFind(caseFolded(name));
    if (it == entries->names.constEnd()) return {};
    const Alike& file = it->file;
    if (file.count == 1) return file.name == name ? path : path.first(cut + 1) + file.name;
    // Names alike on a disk that tells letter case apart: only the name as written is meant.
    return file.count > 1 && isFile(path) ? path : QString();
}

const Resolver::Listing& Resolver::listing(QStringView folder) {
    if (last_ && lastFolder_ == folder) return *last_;
    lastFolder_ = folder.toString();
    const auto [it, made] = listings_.try_emplace(lastFolder_);
    Listing& listing = it->second;
    // Only a folder named in full: a relative one would be read from wherever the run stands.
    if (made && QDir::isAbsolutePath(lastFolder_))
        listing.read =
            FolderListing::forEach(lastFolder_, [&](const QString& name, FolderListing::Kind kind) {
                Names& names = listing.names[caseFolded(name)];
                Alike& alike = kind == FolderListing::Kind::Folder ? names.folder : names.file;
                if (++alike.count == 1) alike.name = name;
            });
    last_ = &listing;
    return listing;
}

} // namespace PhotoFile
