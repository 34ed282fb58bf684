#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class OutputFolder;

// Whole-file reading and writing for every file the program keeps. Failures throw AppError
// whose text is the headline, the file and the reason, one a line.
QString fileFailure(const QString& headline, const QString& path, const QString& reason);

// A file larger than maxBytes (when given) is refused before it is read: for files the
// program keeps itself, where such a size can only mean the wrong file.
QByteArray readWholeFile(const QString& path, const QString& headline, qint64 maxBytes = -1);
// Written to a temporary file and renamed into place, so a crash or a full disk never leaves
// half a file behind. With `within`, only while that is the folder its run began with.
void writeFileAtomically(const QString& path, const QByteArray& bytes, const QString& headline,
                         const OutputFolder* within = nullptr);
// Also never half a file, but without waiting for the disk: for files made again when lost
// (caches), where waiting on every write would cost more than the file saves.
void writeReplaceableFile(const QString& path, const QByteArray& bytes, const QString& headline);

// What a file is on the disk, whatever the spelling or link that names it.
struct FileId {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileId&) const = default;
};
// Nothing for a path that names no existing file.
std::optional<FileId> fileId(const QString& path);

// True when both paths name one existing file, also through links or different spellings.
bool isSameFile(const QString& first, const QString& second);

// The reason a file could not be read or written, in the words of the program's messages. What
// the file is now comes first; then the system's error number, when the failed call gave one.
QString readFailureReason(const QString& path, int error = 0);
QString writeFailureReason(const QString& path);
// The reason the folder at path could not be made.
QString folderFailureReason(const QString& path);
