#include "album/photo_folder.h"

#include "album/photo_paths.h"
#include "base/shared_routines.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace PhotoFolder {

const QStringList PicturePatterns = {u"*.bmp"_s, u"*.gif"_s, u"*.jpeg"_s, u"*.jpg"_s, u"*.ico"_s, u"*.cur"_s};

bool isPictureName(const QString& fileName) {
    const QString lower = fileName.toLower();
    return std::any_of(PicturePatterns.begin(), PicturePatterns.end(), [&](const QString& pattern) {
        return lower.endsWith(pattern.mid(1)) && lower.size() > pattern.size() - 1;
    });
}

bool naturalLess(const QString& a, const QString& b) {
    const QString keyA = NaturalKey(a.toLower());
    const QString keyB = NaturalKey(b.toLower());
    if (keyA != keyB) return keyA < keyB;
    return a < b;
}

namespace {

QStringList sortedNaturally(QStringList names) {
    std::sort(names.begin(), names.end(), naturalLess);
    return names;
}

} // namespace

QStringList pictures(const QString& folder) {
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::NoSort);
    QStringList names;
    for (const QString& name : files)
        if (isPictureName(name)) names << name;
    return sortedNaturally(names);
}

QStringList picturePaths(const QString& folder) {
    QStringList paths;
    for (const QString& name : pictures(folder))
        paths << PhotoPaths::join(folder, name);
    return paths;
}

QStringList subfolders(const QString& folder) {
    return sortedNaturally(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::NoSort));
}

QStringList volumes() {
    QStringList roots = {u"/"_s};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(root).isDir()) continue;
        if (!roots.contains(root)) roots << root;
    }
    std::sort(roots.begin() + 1, roots.end(), naturalLess);
    return roots;
}

QString volumeOf(const QString& path) {
    const QStorageInfo volume(path);
    return volume.isValid() ? volume.rootPath() : u"/"_s;
}

} // namespace PhotoFolder
