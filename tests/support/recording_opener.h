#pragma once

#include "xlsx/workbook_opener.h"

#include <QStringList>

// Stands in for the spreadsheet program: records what a dialog asks to open after saving.
struct RecordingOpener : WorkbookOpener {
    QStringList opened;
    bool works = true;
    bool open(const QString& path) override {
        opened << path;
        return works;
    }
};
