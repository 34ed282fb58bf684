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

// The end of a report run in a window: its notes told, then the workbook opened, or said where
// it lies when nothing opens it.
void showWrittenWorkbook(Prompts& prompts, WorkbookOpener& opener, const QString& path,
                         const QStringList& notes);
