#pragma once

#include <QString>

#include <functional>

// How a workbook report tells its progress: the activity, then the album row being written (0
// while the photos are read) and how far it is; answering false cancels.
using ReportProgress = std::function<bool(const QString& activity, int row, int done, int total)>;
