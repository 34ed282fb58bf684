#include "fuzz_entries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace FuzzEntries {

namespace {

// Made at the first input and removed when the run ends, with whatever it holds.
const QDir& inputFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/tovenla-fuzz-XXXXXX"));
    if (!folder.isValid()) std::abort();
    static const QDir dir(folder.path());
    return dir;
}

} // namespace

QString inputFile(const uint8_t* data, size_t size, const QString& name) {
    const QString path = inputFolder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
    return path;
}

void removeInputFile(const QString& name) {
    QFile::remove(inputFolder().filePath(name));
}

} // namespace FuzzEntries
