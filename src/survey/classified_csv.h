#pragma once

#include "survey/classified_table.h"

#include <QString>

// Reads a crew's CSV (CP932, or UTF-8 with a byte order mark) and forms its groups. Throws
// AppError naming the file when it cannot be read; nothing is half-built.
struct ClassifiedCsv {
    ClassifiedData data;
    QString unreadableReport; // lines with bytes that could not be read; empty when none
};
ClassifiedCsv readClassifiedCsv(const QString& path, ClassifiedKey key);
