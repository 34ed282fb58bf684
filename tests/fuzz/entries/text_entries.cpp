#include "fuzz_entries.h"

#include "album/album_file.h"
#include "album/csv_photo_list.h"
#include "base/app_error.h"
#include "base/sheet_file.h"
#include "workspace/album_sheet.h"
#include "workspace/bookmarks.h"
#include "workspace/phrase_book.h"
#include "workspace/settings_file.h"

using namespace Qt::StringLiterals;

namespace FuzzEntries {

namespace {

QByteArray bytesOf(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace

void csvList(const uint8_t* data, size_t size) {
    const QString path = inputFile(data, size, u"list.csv"_s);
    try {
        // A small album as well, so that lines beyond its capacity are counted.
        readCsvPhotoList(path, AlbumSheet::DesignMaxRows);
        readCsvPhotoList(path, 3);
    } catch (const AppError&) {
    }
}

void settings(const uint8_t* data, size_t size) {
    int linesRead = 0;
    QList<int> badLines;
    const Settings read = SettingsFile::parse(bytesOf(data, size), &linesRead, &badLines);
    // What was read is written back at exit.
    SettingsFile::serialize(read);
}

void bookmarks(const uint8_t* data, size_t size) {
    FolderBookmarks marks = FolderBookmarks::fromFile(bytesOf(data, size));
    for (const QString& path : marks.paths())
        FolderBookmarks::isUsable(path);
    if (!marks.isEmpty()) {
        const QString first = marks.paths().constFirst();
        marks.add(first.toUpper());
        marks.remove(first);
    }
    marks.toFile();
}

void album(const uint8_t* data, size_t size) {
    try {
        SheetFile::serialize(SheetFile::parse(bytesOf(data, size)));
    } catch (const AppError&) {
    }
    try {
        AlbumFile::load(inputFile(data, size, u"album.dat"_s), AlbumSheet::DesignMaxRows);
    } catch (const AppError&) {
    }
}

void phrases(const uint8_t* data, size_t size) {
    try {
        const PhraseBook book = PhraseBook::fromSheet(SheetFile::parse(bytesOf(data, size)));
        book.recall(u"*1"_s);
        book.recall(u"*500"_s);
        book.serialize();
    } catch (const AppError&) {
    }
}

} // namespace FuzzEntries
