#pragma once

#include <QString>

#include <functional>

// Byte-for-byte copies for large deliveries. The kernel copies without passing the data
// through the program, and nothing is synced per file: the caller syncs once at the end.
namespace FileCopy {

// Called after every chunk with the bytes copied by this call so far; false stops the copy.
using Progress = std::function<bool(qint64 copied)>;

enum class Outcome { Done, Stopped };

// Throws AppError naming the file and the reason; a failed or stopped copy leaves no file.
Outcome copy(const QString& source, const QString& target, const Progress& progress);

// Writes everything of the file system holding folder to the disk.
void syncFileSystem(const QString& folder);

} // namespace FileCopy
