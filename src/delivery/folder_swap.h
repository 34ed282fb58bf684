#pragma once

#include <QString>

// Putting a finished PHOTO folder in the place of the previous one. The new folder is built
// under a hidden name beside the target; the swap touches nothing but the entries in the
// chosen folder, so a PHOTO that is a symbolic link is replaced as a link and whatever it
// points to stays as it was.
namespace FolderSwap {

extern const QString StagingPrefix; // ".PHOTO-new-": a folder being built
extern const QString AsidePrefix;   // ".PHOTO-old-": the previous folder, moved aside

// A new hidden folder in folder, made as any folder of the user is (the umask decides who
// may read it). Throws AppError naming target, never the hidden name.
QString makeStaging(const QString& folder, const QString& target);

// Removes path: a link or a file is unlinked and never followed; a folder goes with
// everything in it. False when something stays.
bool removeEntry(const QString& path);

// Puts staging in target's place and removes what stood there. Returns the hidden path of the
// previous entry when it could not be removed, else empty. Throws AppError when the swap
// fails; the previous entry is then back in its place.
QString swapIn(const QString& staging, const QString& target);

// The lock that every run building target's replacement in folder holds from its first look
// at the folder to its end, and every clean-up there holds while it works. It is a file in the
// folder itself, so it is one lock for every spelling of the folder (another letter case on a
// disk that folds case, a link) and for every user and computer that writes into it.
QString lockFile(const QString& folder, const QString& targetName);

// Puts right what an export killed half-way left in folder: the previous entry comes back
// if it was moved aside and no new one took its place; unfinished folders are removed. Only
// for a run that holds folder's lock.
void recover(const QString& folder, const QString& targetName);

// recover under folder's lock. False when a live run holds the lock: its hidden folders are
// its own and are left alone, as everything is where no lock can be made.
bool recoverUnlessRunning(const QString& folder, const QString& targetName);

} // namespace FolderSwap
