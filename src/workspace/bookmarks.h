#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Favourite folders, in the order they were added. A path that differs only in letter case
// from one present counts as present.
class FolderBookmarks {
public:
    static const QString AlreadyPresent; // "既にフォルダのパスが登録されています"
    static const QString PathMissing;    // "パスが存在しません。"

    const QStringList& paths() const { return paths_; }
    int size() const { return int(paths_.size()); }
    bool isEmpty() const { return paths_.isEmpty(); }
    bool contains(const QString& path) const;
    // False (and nothing added) when present already.
    bool add(const QString& path);
    void remove(const QString& path);

    // "add.dat": one path a line, CR LF, CP932. Whole lines are read, commas included; a line
    // repeating an earlier path is passed over and the lines after it still count.
    static FolderBookmarks fromFile(const QByteArray& bytes);
    // The file's bytes; paths that CP932 cannot hold are added to unwritable.
    QByteArray toFile(QStringList* unwritable = nullptr) const;

    // Whether the menu can go to this path: an absolute path here, one with a drive on Windows.
    static bool isUsable(const QString& path);

private:
    QStringList paths_;
};
