#pragma once

#include <QString>

// A small record of every export in progress, kept in the user's data folder: one file per
// folder being written into, holding that folder and locked for as long as the export runs.
// A killed export leaves its record unlocked, so the next start of the program or the next
// export anywhere finds the folder it left half-made and puts it right. Who may touch a
// folder is decided by the folder's own lock (FolderSwap::lockFile), which every user and
// every spelling of the folder share; these records only say where to look.
namespace ExportRecords {

// Where the records are kept.
QString defaultFolder();

// Claims folder for one export while it lives; an unlocked record of a killed export into
// the same folder is taken over. Best effort: where no record can be written the export goes
// on without one.
class Running {
public:
    explicit Running(const QString& folder, const QString& records = defaultFolder());
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    QString path_;
    int fd_ = -1;
};

// Puts right the folder of every export that ended without removing its record (killed),
// then drops the record. A folder that a live run holds, of this user or another, is left
// alone, and its record stays for a later try.
void recoverAll(const QString& records = defaultFolder());

} // namespace ExportRecords
