#pragma once

#include <QString>

class Settings;

// Stored photo paths may come from Windows ("C:\photos\P001.JPG") or from here: every
// routine that splits one accepts both "\" and "/".
namespace PhotoPaths {

// Position of the last "\" or "/", or -1.
qsizetype lastSeparator(const QString& path);
// The text after the last separator (the whole text when there is none).
QString fileName(const QString& path);
// folder, a separator unless the folder already ends in one, and the name. The separator is
// the one the folder already uses.
QString join(const QString& folder, const QString& name);
// A stored path as it names a photo from here: one relative to folder (an album written by hand,
// or moved together with its photos) is joined to folder, its "\" or "/" separators becoming
// this system's own; absolute paths, Windows ones ("C:\...", "\\server\...") included, and
// empty ones stay as they are.
QString fromFolder(const QString& path, const QString& folder);

} // namespace PhotoPaths

// The information text placed with a photo: lines 1 to 8 made from its path and file name,
// each followed by CR LF; empty when filling from the file is off.
QString BuildInfoFromPath(const QString& path, const Settings& settings);
