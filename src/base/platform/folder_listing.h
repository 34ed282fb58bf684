#pragma once

#include <QString>

#include <functional>

// The names in one folder, read in one pass without asking the disk about each: folders of
// a hundred thousand photos, and shares where every question crosses the network.
namespace FolderListing {

enum class Kind { File, Folder };

// Calls found with each regular file and folder (links followed) except "." and "..", in the
// order the disk keeps them. False, having called nothing, when folder cannot be read.
bool forEach(const QString& folder, const std::function<void(const QString& name, Kind kind)>& found);

} // namespace FolderListing
