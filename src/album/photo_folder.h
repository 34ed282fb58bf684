#pragma once

#include <QString>
#include <QStringList>

// What the browser lists: pictures of the file-list pattern, sub-folders, and the volumes
// offered as drives. Names come in natural order, as a file list shows them.
namespace PhotoFolder {

// "*.bmp;*.gif;*.jpeg;*.jpg;*.ico;*.cur", matched in any letter case.
extern const QStringList PicturePatterns;

bool isPictureName(const QString& fileName);
// Natural order: digit runs compare by value, letters without regard to case.
bool naturalLess(const QString& a, const QString& b);

// File names of the pictures in folder (no paths); empty when it cannot be read.
QStringList pictures(const QString& folder);
// The same as paths in folder, for the commands that take a folder for its photos.
QStringList picturePaths(const QString& folder);
// Names of the folder's sub-folders, hidden ones left out.
QStringList subfolders(const QString& folder);

// The roots of the mounted volumes, "/" first, each once.
QStringList volumes();
// The root of the volume that holds path ("/" when none is found).
QString volumeOf(const QString& path);

} // namespace PhotoFolder
