#pragma once

#include "base/output_folder.h"
#include "base/progress.h"

#include <QString>

// Byte-for-byte copies for large deliveries. The kernel copies without passing the data
// through the program, and nothing is synced per file: the caller syncs once at the end.
namespace FileCopy {

// progress hears the bytes of this file copied so far after every chunk. Throws AppError naming
// the file and the reason (CopySourceError when the source failed, OutputFolderGone once `within`
// is not the folder the run began with), or Cancelled; a failed or stopped copy leaves no file.
void copy(const QString& source, const QString& target, const OutputFolder& within, const Progress& progress);

// Writes everything of the file system holding folder to the disk.
void syncFileSystem(const QString& folder);

} // namespace FileCopy
