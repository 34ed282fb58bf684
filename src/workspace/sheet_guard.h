#pragma once

#include <QString>

class Prompts;
class Workspace;

// Commands that need album rows refuse an empty sheet with one of two texts.
namespace SheetGuard {

extern const QString NoDataLong;  // save, Excel reports, photo copy
extern const QString NoDataShort; // print, electronic delivery

enum class Text { Long, Short };

// Refreshes AlbumRowCount; on an empty sheet tells the user and answers false.
bool SheetHasData(Workspace& workspace, Prompts& prompts, Text text = Text::Long);

} // namespace SheetGuard
