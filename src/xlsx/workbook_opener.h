#pragma once

#include <QString>
#include <QStringList>

class Prompts;

// Shows a finished workbook to the user. Windows pass the desktop's opener; tests a recorder.
class WorkbookOpener {
public:
    virtual ~WorkbookOpener() = default;
    // False when nothing could open it.
    virtual bool open(const QString& path) = 0;
};

// The end of a report run in a window: the workbook opened, then one message that says where it
// was saved, whether it could be opened, and its notes.
void showWrittenWorkbook(Prompts& prompts, WorkbookOpener& opener, const QString& path,
                         const QStringList& notes);
