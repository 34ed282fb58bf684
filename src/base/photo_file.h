#pragma once

#include <QHash>
#include <QString>

#include <map>

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
    // The regular file path names, as written or found as resolve finds it; empty when there is
    // none. Reads each folder once instead of asking the disk about every name, for checks of
    // whole lists.
    QString findFile(const QString& path);

private:
    // The entries of a folder that share one case-folded name: only the one of its kind is
    // taken, for when two are alike which one was meant cannot be told.
    struct Alike {
        QString name;
        int count = 0;
        QString only() const { return count == 1 ? name : QString(); }
    };
    struct Names {
        Alike file;
        Alike folder;
    };
    struct Listing {
        QHash<QString, Names> names;
        bool read = false; // false: the folder could not be listed
    };
    QString resolveFolder(const QString& folder);
    QString resolveIn(const QString& path, bool wantFolder);
    const Listing& listing(QStringView folder);

    std::map<QString, Listing> listings_; // a map: the last one's address stays valid
    QString lastFolder_;
    const Listing* last_ = nullptr;
};

} // namespace PhotoFile
