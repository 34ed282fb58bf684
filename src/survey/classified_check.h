#pragma once

#include <QString>
#include <QStringList>

struct ClassifiedData;

// The check before an import: every group has a key, every near and far photo exists.
namespace ClassifiedCheck {

inline constexpr int MaxLogLines = 5000;
extern const QString LogFileName; // "CHKErr.log"

struct Result {
    QStringList problems;   // the lines of the log, in the order found
    bool overLimit = false; // more problems than the log may hold; problems then stops there
};

Result run(const ClassifiedData& data);

// The log beside the CSV; CP932, CR LF after each line, written atomically.
QString logPath(const QString& folder);
void writeLog(const QString& path, const QStringList& problems);

} // namespace ClassifiedCheck
