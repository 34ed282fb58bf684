#pragma once

#include <QString>

// Shows a finished workbook to the user. Windows pass the desktop's opener; tests a recorder.
class WorkbookOpener {
public:
    virtual ~WorkbookOpener() = default;
    // False when nothing could open it.
    virtual bool open(const QString& path) = 0;
};
