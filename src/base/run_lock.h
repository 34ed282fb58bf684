#pragma once

#include "base/platform/file_lock.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <chrono>

// Who holds a lock, as the holder writes it into the lock file: enough for a run that is kept
// out to say which computer and program to look for.
struct LockHolder {
    QString computer;
    QString user;
    QString program;
    qint64 process = 0;
    QDateTime since;

    static LockHolder thisRun();
    QByteArray record() const;
    // What a record says; whatever is missing or unreadable stays empty.
    static LockHolder fromRecord(const QByteArray& record);
    // The message lines naming the holder; none when the record names no one.
    QStringList lines() const;
};

// A run's hold on a lock file. The operating system's lock decides, and it goes with the
// process that held it: a lock file left behind by a killed run, a pulled stick or a computer
// that died never keeps anyone out. The record written into the file only names the holder.
class RunLock {
public:
    enum class State {
        Held,        // this run holds it until the object goes
        Busy,        // a live run holds it
        Unavailable, // no lock can be made there; the run goes on, and its writes say why they fail
    };

    // Waits up to wait while a live run holds the lock.
    RunLock(const QString& lockFile, std::chrono::milliseconds wait);

    State state() const { return state_; }
    // When busy: the live run that holds the lock, as its record names it.
    const LockHolder& holder() const { return holder_; }

private:
    FileLock lock_;
    State state_ = State::Unavailable;
    LockHolder holder_;
};
