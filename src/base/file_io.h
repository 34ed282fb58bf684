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

// The bytes free for new files on folder's file system; nothing when it does not tell (it
// reports its size as 0, as some network and FUSE file systems do, or cannot be asked).
std::optional<qint64> freeSpace(const QString& folder);

// The reason a file could not be read or written, in the words of the program's messages. What
// the file is now comes first; then the system's error number, when the failed call gave one.
QString readFailureReason(const QString& path, int error = 0);
QString writeFailureReason(const QString& path);
// The reason the folder at path could not be made.
QString folderFailureReason(const QString& path);
