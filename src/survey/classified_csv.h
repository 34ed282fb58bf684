#pragma once

#include "survey/classified_table.h"

#include <QString>

// Reads a crew's CSV (CP932 or UTF-8) and forms its groups. Throws AppError naming the file
// when it cannot be read, or naming the lines when any of them is not text in the file's
// encoding; nothing is half-built.
ClassifiedData readClassifiedCsv(const QString& path, ClassifiedKey key);
