#include "base/photo_file.h"

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

qsizetype lastSeparator(const QString& path) {
    qsizetype cut = path.lastIndexOf(u'/');
    if (QDir::separator() != u'/') cut = std::max(cut, path.lastIndexOf(QDir::separator()));
    return cut;
}

void add(QHash<QString, QString>& names, const QString& name) {
    const QString key = name.toCaseFolded();
    const auto it = names.constFind(key);
    if (it == names.constEnd())
        names.insert(key, name);
    else if (it.value() != name)
        names.insert(key, QString()); // two names alike: which one was meant cannot be told
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
    const Listing& entries = listing(folder);
    const QString found = (wantFolder ? entries.folders : entries.files).value(name.toCaseFolded());
    return found.isEmpty() ? path : folder + path.at(cut) + found;
}

const Resolver::Listing& Resolver::listing(const QString& folder) {
    const auto it = listings_.constFind(folder);
    if (it != listings_.constEnd()) return it.value();
    Listing listing;
    const QDir dir(folder);
    constexpr QDir::Filters Every = QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QString& name : dir.entryList(QDir::Files | Every, QDir::Unsorted))
        add(listing.files, name);
    for (const QString& name : dir.entryList(QDir::Dirs | Every, QDir::Unsorted))
        add(listing.folders, name);
    return listings_.insert(folder, std::move(listing)).value();
}

} // namespace PhotoFile
