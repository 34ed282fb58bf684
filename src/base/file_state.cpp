#include "base/file_state.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileState FileState::of(const QByteArray& bytes) {
    return {true, bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

FileState FileState::current(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {};
    FileState state{true, info.size(), {}};
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly) && hash.addData(&file)) state.hash = hash.result();
    return state;
}

bool FileState::sameContent(const FileState& other) const {
    return exists && other.exists && size == other.size && !hash.isEmpty() && hash == other.hash;
}
