#pragma once

#include <QByteArray>
#include <QString>

// A lock the operating system keeps on an open lock file for as long as the process lives:
// it goes with the process however that ends, and on a network share when the server loses
// the client. It belongs to this object, so a second FileLock on the same file, in this
// process or another, is kept out. The lock covers one byte far past the file's text, so that
// other runs can read the record the holder writes into it (Windows enforces such locks).
class FileLock {
public:
    enum class Result {
        Locked,      // this object holds the lock
        Held,        // another open of the file holds it: a live run
        Unavailable, // no lock can be made here (a read-only folder, no locks on the share)
    };

    explicit FileLock(QString path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Makes the file when it is missing. A file another holder removed while this one was
    // locking it is never taken for the one the path names.
    Result tryLock();
    // While locked: replaces the file's text. False when it could not be written.
    bool write(const QByteArray& text);
    // Removes the file while still holding it, then lets go, so that nothing stays behind and
    // no one locks the removed file in the meantime.
    void release();

private:
    QString path_;
    int fd_ = -1;
};
