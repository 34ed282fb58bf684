#pragma once

#include "xlsx/workbook_opener.h"

// Opens a workbook with the desktop's program for its kind.
class DesktopOpener : public WorkbookOpener {
public:
    bool open(const QString& path) override;
};
