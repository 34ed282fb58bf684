#include "album/photo_paths.h"

#include "workspace/settings.h"

#include <QDir>

#include <array>

using namespace Qt::StringLiterals;

namespace PhotoPaths {

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
}

QString fileName(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString join(const QString& folder, const QString& name) {
    if (folder.endsWith(u'\\') || folder.endsWith(u'/')) return folder + name;
    // A folder written the Windows way goes on that way.
    const qsizetype separator = lastSeparator(folder);
    return folder + (separator >= 0 ? folder.at(separator) : QDir::separator()) + name;
}

QString fromFolder(const QString& path, const QString& folder) {
    const bool drive =
        path.size() >= 2 && path.at(1) == u':' && path.at(0).unicode() < 0x80 && path.at(0).isLetter();
    if (path.isEmpty() || path.startsWith(u'/') || path.startsWith(u'\\') || drive) return path;
    QString relative = path;
    relative.replace(u'\\', u'/');
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).filePath(relative)));
}

} // namespace PhotoPaths

namespace {

constexpr int InfoLineCount = 8;

// The word written for the view-kind code after the first "_" of the file name.
QString viewKindWord(const QString& code) {
    if (code == u"01"_s) return u"近景"_s;
    if (code == u"02"_s || code == u"03"_s) return u"遠景"_s;
    if (code == u"05"_s) return u"標示版"_s;
    return {};
}

// d cut before its last separator when that separator lies past the drive part; the text
// after the (new) last separator is the folder name at that level.
QString cutAtLastSeparator(QString& d) {
    const qsizetype p = PhotoPaths::lastSeparator(d) + 1; // 1-based, 0 when none
    if (p > 2) d = d.left(p - 1);
    return d.mid(PhotoPaths::lastSeparator(d) + 1);
}

} // namespace

QString BuildInfoFromPath(const QString& path, const Settings& settings) {
    if (!settings.itemIsOn(SettingItem::AutoFillFromFile)) return {};
    QString name = PhotoPaths::fileName(path);

    QString folder;
    QString parent;
    const bool folderNames = settings.itemIsOn(SettingItem::AutoFillFolderNames);
    if (folderNames) {
        QString d = path;
        folder = cutAtLastSeparator(d);
        parent = cutAtLastSeparator(d);
    }

    QString code;
    if (settings.itemIsOn(SettingItem::StripExtension)) {
        const qsizetype dot = name.indexOf(u'.');
        if (dot >= 0) name = name.left(dot);
        const qsizetype underscore = name.indexOf(u'_');
        if (underscore >= 0) code = name.mid(underscore + 1);
    }

    std::array<QString, InfoLineCount> lines;
    const auto put = [&](int item, const QString& text) {
        const int line = settings.itemInt(item);
        if (line >= 1 && line <= InfoLineCount) lines[line - 1] = text;
    };
    if (settings.itemIsOn(SettingItem::AutoFillFileName)) put(SettingItem::FileNameLine, name);
    if (settings.itemIsOn(SettingItem::AutoFillKind)) {
        const QString word = viewKindWord(code);
        if (!word.isEmpty()) put(SettingItem::KindLine, word);
    }
    if (folderNames) {
        put(SettingItem::FolderLine, folder);
        put(SettingItem::ParentFolderLine, parent);
    }

    QString info;
    for (const QString& line : lines)
        info += line + u"\r\n"_s;
    return info;
}
