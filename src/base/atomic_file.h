#pragma once

#include "base/app_error.h"
#include "base/output_folder.h"
#include "base/progress.h"

#include <QByteArrayView>
#include <QString>

// One output file, written beside its place without a name (or under a hidden temporary name
// where the file system cannot do that) and renamed over the place only when every byte is
// written. Every step (write, sync, close, rename) is checked; on any failure the old file
// stays whole, the temporary file is removed and AppError names the file and the reason.
// Destroying a writer that was not committed discards it.
class AtomicFile {
public:
    enum class Sync {
        Each, // the file is on the disk before it takes its place
        Later // the caller syncs the whole file system once, or the file is only a cache
    };

    AtomicFile(const QString& path, QString headline, Sync sync = Sync::Each);
    // A file of a run that writes into `within`: begun and put in place only while that is still
    // the folder the run began with, else OutputFolderGone is thrown. within must outlive the file.
    AtomicFile(const QString& path, QString headline, const OutputFolder& within, Sync sync = Sync::Each);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(QByteArrayView bytes);
    // Appends the whole of source, by the kernel where it can; progress hears the bytes copied
    // so far of the source's size after every chunk. A stop throws Cancelled and discards the
    // file; a source that cannot be read to its end throws CopySourceError, a failed write
    // AppError.
    void copyFrom(const QString& source, const Progress& progress = {});

    // Syncs the bytes to the disk (Sync::Each); the file is not in place yet.
    void finish();
    // Finishes if needed and puts the file in place.
    void commit();

    // Where the file goes: a symbolic link's target when the path was a link.
    const QString& path() const { return path_; }

    // Removes the temporary files of killed runs from folder; files of running ones stay.
    static void removeLeftovers(const QString& folder);

private:
    [[noreturn]] void fail(int error);
    void open();
    void discard();

    QString path_;
    QString headline_;
    Sync sync_;
    QString named_; // the temporary name, when the file system needs one
    int fd_ = -1;
    bool finished_ = false;
    const OutputFolder* within_ = nullptr;
};

// A copy whose source could not be read: the fault lies with the source's disk, not with where
// the copy goes.
class CopySourceError : public AppError {
public:
    CopySourceError(const QString& path, const QString& reason);
    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }

private:
    QString path_;
    QString reason_;
};
