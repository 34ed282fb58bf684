#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// When two paths are one file. Sticks, SD cards and every Windows disk fold letter case, so a
// name there is every spelling that differs only in case ("Album.dat", "ALBUM.DAT", full-width
// "ＡＢＣ" and "ａｂｃ"), and some of them (FUSE exFAT) give each spelling its own identity. Two
// paths are therefore the same file when their identities match or their names match without
// regard to case; every comparison of paths for "same file" goes through this rule.

// What a file is on the disk, whatever the spelling or link that names it.
struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileId&) const = default;
};
size_t qHash(const FileId& id, size_t seed = 0) noexcept;

// Nothing for a path that names no existing file.
std::optional<FileId> fileId(const QString& path);

// A path as the rule compares it.
struct FileIdentity {
    std::optional<FileId> id; // nothing when no file is there
    QString name;             // absolute, the folder's links resolved, case folded; empty for no path

    static FileIdentity of(const QString& path);
};

// The name key alone: path made absolute, its folder's links resolved and its letters folded as
// Windows and exFAT compare names (Unicode simple case folding, full-width letters included).
QString foldedName(const QString& path);

bool isSameFile(const FileIdentity& first, const FileIdentity& second);
// True when both paths name one file: also through links, other spellings, or letter case.
bool isSameFile(const QString& first, const QString& second);

// isSameFile over many files at once: each added file is found again by its identity or by its
// name, without comparing every pair.
class SameFiles {
public:
    void add(const FileIdentity& file, qsizetype value);
    // The values of every added file that file is the same file as, in the order they were added.
    QList<qsizetype> find(const FileIdentity& file) const;

private:
    QMultiHash<FileId, qsizetype> byId_;
    QMultiHash<QString, qsizetype> byName_;
};

// For tests: while one lives, fileId answers through lookup instead of the file system, so that
// a test can give each spelling of a name its own identity as FUSE exFAT does.
class FileIdOverride {
public:
    using Lookup = std::function<std::optional<FileId>(const QString& path)>;
    explicit FileIdOverride(Lookup lookup);
    ~FileIdOverride();
    FileIdOverride(const FileIdOverride&) = delete;
    FileIdOverride& operator=(const FileIdOverride&) = delete;

    // The identity the file system gives, for a lookup that builds on it.
    static std::optional<FileId> fromDisk(const QString& path);

private:
    Lookup previous_;
};
