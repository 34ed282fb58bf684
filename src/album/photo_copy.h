#pragma once

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
    bool adjusted = false; // something had to be replaced
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
    QList<Adjusted> adjusted;
    QList<Replaced> replaced;

    // No photo was left out or lost to a later copy of the same name.
    bool complete() const { return skipped.isEmpty() && replaced.isEmpty(); }
    // The report shown to the user, lines joined by "\n".
    QString text() const;
};

// Called after each row with the number of rows done.
using Progress = std::function<void(int done)>;

// Copies the photos of rows first..last into folder. Failures of single rows are skipped and
// reported in the summary; a later row of the same name replaces the earlier copy. A copy
// never goes over a file the guard keeps, except a photo that the run itself copies away:
// such a photo is read before its name takes another row's copy, so swapped and chained
// names give every row its own picture.
Summary copyRows(const AlbumSheet& sheet, int first, int last, const QString& folder, bool splitByHyphen,
                 const OutputGuard& guard, const Progress& progress = {});

} // namespace PhotoCopy
