#pragma once

#include "base/app_error.h"
#include "base/same_file.h"

#include <QString>

#include <optional>

// The folder a run writes into, as it was when the run began. A stick unmounted under a running
// job leaves its bare mount point at the same path: a folder of the system disk, where what is
// written is lost to the user and fills the wrong disk. So a run never makes its folder again:
// it checks it before each file and stops once it is gone or another folder stands in its place.
class OutputFolder {
public:
    static const QString Gone; // "出力先のフォルダがなくなりました。"

    // The folder as it is now. One that is not there (or is no folder) is left to the writes to
    // report.
    explicit OutputFolder(const QString& path);

    const QString& path() const { return path_; }
    // Empty while it is the folder the run began with; else why it is not.
    QString change() const;
    // Throws OutputFolderGone once the folder is not the one the run began with.
    void check() const;

private:
    QString path_;
    std::optional<FileId> id_;
};

// A run's folder went away under it: nothing more can be written there.
class OutputFolderGone : public AppError {
public:
    using AppError::AppError;
};
