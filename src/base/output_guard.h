#pragma once

#include "base/same_file.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The one check before anything writes a file or folder the user named or chose: it never
// goes over a file the run reads (the album, a list, a survey file, a template), the album
// open in the window or a photo of the album. Files are compared as isSameFile does, so another
// spelling, a name in another letter case, a symbolic link or a hard link to a kept file is
// refused too.
class OutputGuard {
public:
    // Kinds named in the refusal.
    static const QString OpenAlbum;   // "開いているアルバムファイル"
    static const QString Album;       // "アルバムファイル"
    static const QString Photo;       // "アルバムの写真"
    static const QString Template;    // "雛形のブック"
    static const QString List;        // "CSV ファイル"
    static const QString Survey;      // "SIMA ファイル"
    static const QString PmFile;      // "PM ファイル"
    static const QString ImportFile;  // "インポートファイル"
    static const QString ProgramFile; // "プログラムの設定ファイル"

    // A file that must not be written over; an empty or missing path is ignored.
    OutputGuard& keep(const QString& path, const QString& kind);
    OutputGuard& keepAll(const QStringList& paths, const QString& kind);

    struct Kept {
        QString path;
        QString kind;
    };
    // The kept file that output is, if any.
    std::optional<Kept> match(const QString& output) const;
    // The message refusing output, naming both files; empty when output may be written.
    QString refusal(const QString& output) const;
    // Throws AppError with the refusal.
    void check(const QString& output) const;
    // Every kept file that lies inside folder (which a run is about to replace).
    QList<Kept> inside(const QString& folder) const;

private:
    struct Entry {
        Kept kept;
        QString place; // where the file really is, folded as isSameFile compares names
    };
    QList<Entry> entries_;
    SameFiles files_; // the entries' indices
};
