#pragma once

#include "workspace/settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// "tovenla.ini": 50 items then 200 texts, one per line, CP932, CR LF; no keys, the position
// is the meaning.
namespace SettingsFile {

inline constexpr int LineCount = Settings::ItemCount + Settings::TextCount;

struct ReadResult {
    Settings settings;
    bool existed = false;
    int linesRead = 0;        // below LineCount: the rest came from the defaults
    QString unreadableReport; // lines with bytes that could not be read; empty when none
    bool complete() const { return existed && linesRead >= LineCount; }
};

// Lines beyond those present keep the defaults. With startupRules an item 28 starting with
// "*" becomes 0. Throws AppError when an existing file cannot be read.
ReadResult ReadSettingsFile(const QString& path, bool startupRules);

Settings parse(const QByteArray& bytes, int* linesRead = nullptr, QList<int>* badLines = nullptr);

struct Encoded {
    QByteArray bytes;
    QStringList problems; // one entry per line holding characters CP932 cannot hold
};
Encoded serialize(const Settings& settings);

// Writes all 250 lines atomically. Returns the lines whose characters CP932 could not hold
// (written with "?" in their place); throws AppError when the file cannot be written.
QStringList WriteSettingsFile(const QString& path, const Settings& settings);

} // namespace SettingsFile
