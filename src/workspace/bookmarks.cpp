#include "workspace/bookmarks.h"

#include "base/ansi_codec.h"

#include <QDir>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

const QString FolderBookmarks::AlreadyPresent = u"既にフォルダのパスが登録されています"_s;
const QString FolderBookmarks::PathMissing = u"パスが存在しません。"_s;

bool FolderBookmarks::contains(const QString& path) const {
    return paths_.contains(path, Qt::CaseInsensitive);
}

bool FolderBookmarks::add(const QString& path) {
    if (path.isEmpty() || contains(path)) return false;
    paths_ << path;
    return true;
}

void FolderBookmarks::remove(const QString& path) {
    paths_.removeIf([&](const QString& p) { return p.compare(path, Qt::CaseInsensitive) == 0; });
}

FolderBookmarks FolderBookmarks::fromFile(const QByteArray& bytes) {
    static const QRegularExpression lineBreak(u"\r\n|\n|\r"_s);
    FolderBookmarks bookmarks;
    for (const QString& line : AnsiCodec::decode(bytes).text.split(lineBreak))
        bookmarks.add(line);
    return bookmarks;
}

QByteArray FolderBookmarks::toFile(QStringList* unwritable) const {
    QByteArray bytes;
    for (const QString& path : paths_) {
        const AnsiCodec::Encoded encoded = AnsiCodec::encode(path);
        if (!encoded.ok() && unwritable) *unwritable << path;
        bytes += encoded.bytes + "\r\n";
    }
    return bytes;
}

bool FolderBookmarks::isUsable(const QString& path) {
#ifdef Q_OS_WIN
    return path.indexOf(u':') > 0;
#else
    return QDir::isAbsolutePath(path);
#endif
}
