#pragma once

#include "base/progress.h"

#include <QList>
#include <QString>

#include <functional>

class AlbumSheet;
class OutputGuard;

// Copying the album's photos into one folder under names made from their information lines,
// optionally into sub-folders named by the part of the name before its first hyphen.
namespace PhotoCopy {

extern const QString ActivityText; // "画像コピー中"
extern const QString FolderTitle; // "コピー先のフォルダーを指示。ファイル名は無視します。"
extern const QString CommandFailed; // the message when the command itself fails

// Lines 2, 1 and 8 joined, with ".jpg"; the photo's own file name when those lines are empty.
QString ruleName(const QString& info, const QString& photoPath);

// Where a built name goes inside the chosen folder, made plain by SafeFileName so nothing
// lands outside the folder.
struct Target {
    QString subFolder; // empty, or one folder name
    QString name;
    bool replaced = false;  // characters a file name cannot hold were replaced
    bool shortened = false; // the name was too long and was cut before its extension
};
Target target(const QString& builtName, bool splitByHyphen);

struct Summary {
    struct Skipped {
        int row;
        QString reason;
    };
    struct Adjusted {
        int row;
        QString relativePath;
    };
    struct Replaced {
        int row;
        int earlierRow;
        QString relativePath;
    };

    int copied = 0;
    int rowsWithoutPhoto = 0;
    QList<Skipped> skipped;
    QList<Adjusted> adjusted;  // characters replaced in the name
    QList<Adjusted> shortened; // a name too long, cut
    QList<Replaced> replaced;
    QList<int> notCopied; // rows left without a copy by the stop
    // Why the run stopped on its own: the chosen folder went away (a stick unmounted). Empty
    // when it did not.
    QString folderGone;

    // The user stopped the run before every row had its copy.
    bool stopped() const { return !notCopied.isEmpty() && folderGone.isEmpty(); }

    // No photo was left out or lost to a later copy of the same name.
    bool complete() const { return skipped.isEmpty() && replaced.isEmpty() && notCopied.isEmpty(); }
    // Whether a line of the report fits the place it is shown in.
    using Fits = std::function<bool(const QString& line)>;
    // The report shown to the user, lines joined by "\n". With fits, a line that does not fit
    // goes on over further lines, indented.
    QString text(const Fits& fits = {}) const;
};

// One album row as the copy reads it.
struct SourceRow {
    int row;
    QString info;
    QString path;
};
// Rows first..last of the sheet, read once so that the copy can run without the sheet.
QList<SourceRow> rowsOf(const AlbumSheet& sheet, int first, int last);

// Copies the photos of the rows into folder. Failures of single rows are skipped and reported
// in the summary; a later row of the same name, letter case aside, replaces the earlier copy.
// A copy never goes over a file the guard keeps, except a photo that the run itself copies
// away: such a photo is read before its name takes another row's copy, so swapped and chained
// names give every row its own picture. progress hears the rows done of all rows, before,
// during and after each copy. A stop ends the run there: it keeps the copies already in place,
// leaves no part of a file, and the summary lists the rows left out. The folder is made at the
// start when missing (AppError when it cannot be) and never again: once it has gone, or another
// stands in its place, the run ends as at a stop and the summary says why.
Summary copyRows(const QList<SourceRow>& rows, const QString& folder, bool splitByHyphen,
                 const OutputGuard& guard, const Progress& progress = {});
// The same for rows first..last of the sheet.
Summary copyRows(const AlbumSheet& sheet, int first, int last, const QString& folder, bool splitByHyphen,
                 const OutputGuard& guard, const Progress& progress = {});

} // namespace PhotoCopy
