#pragma once

#include "base/run_lock.h"

#include <QString>

#include <chrono>

// Held while a run reads, changes and writes one album file, so that two runs at once never
// lose each other's changes: the second waits a moment, then says the album is in use and
// which computer and program use it. Every spelling of the album (a link, another path, another
// letter case on a disk that folds case) shares one lock, kept beside the file it names. A
// lock file that no live run holds is taken over.
class AlbumLock {
public:
    static const QString InUse; // "アルバムファイルは他の処理で使用中です。…"

    // Throws AppError naming the album and the run that holds it when that run holds it
    // longer than wait. Where no lock can be made at all (a read-only folder), the run goes
    // on: its write will fail and say why.
    explicit AlbumLock(const QString& albumPath, std::chrono::milliseconds wait = std::chrono::seconds(10));

private:
    RunLock lock_;
};
