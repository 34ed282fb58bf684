#pragma once

#include <QByteArray>
#include <QString>

// What a file held when the program read or wrote it, to tell later whether another run has
// changed it since. Only the content counts: a time is no sign either way, since a FAT stick
// keeps it to two seconds and a copy may keep the old one.
struct FileState {
    bool exists = false;
    qint64 size = -1;
    QByteArray hash; // SHA-256 of the bytes; empty when they could not be read

    static FileState of(const QByteArray& bytes);
    // The file as it is now.
    static FileState current(const QString& path);

    // False also when either side could not be read: nothing is known then.
    bool sameContent(const FileState& other) const;
};
