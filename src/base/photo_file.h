#pragma once

#include <QHash>
#include <QString>

// Photos named on Windows: a list or an album made there may say "P002_近.JPG" for the file
// "P002_近.jpg", which Windows opens because its names ignore letter case. Every photo path
// made from a list and every album photo that is opened goes through resolve, so it opens here.
namespace PhotoFile {

// path itself when it names something, or when it is empty or relative. Otherwise the path
// whose name, and the names of the folders on its way, differ from path's only in letter case,
// when each is the only such name in its folder; path when a name has no such twin, or two.
QString resolve(const QString& path);

// The same for many paths at once: each folder is listed once, as it was when first asked.
class Resolver {
public:
    QString resolve(const QString& path);

private:
    // Case-folded names of a folder's entries to the one entry of each, or to an empty
    // string when two or more share it.
    struct Listing {
        QHash<QString, QString> files;
        QHash<QString, QString> folders;
    };
    QString resolveFolder(const QString& folder);
    QString resolveIn(const QString& path, bool wantFolder);
    const Listing& listing(const QString& folder);

    QHash<QString, Listing> listings_;
};

} // namespace PhotoFile
