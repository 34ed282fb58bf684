#include "writers.h"

#include "album/album_file.h"
#include "album/photo_copy.h"
#include "delivery/delivery_export.h"
#include "print/print_document.h"
#include "print/print_renderer.h"
#include "shell/session.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/classified_check.h"
#include "survey/classified_file.h"
#include "survey/classified_table.h"
#include "test_paths.h"
#include "workspace/album_sheet.h"
#include "workspace/workspace.h"
#include "xlsx/workbook.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace Writers {

namespace {

constexpr int PhotoCount = 8;

QString photoOf(const QString& work, int version, int i) {
    return QDir(work).filePath(u"src/v%1_%2.jpg"_s.arg(version).arg(i));
}

QList<AlbumRow> albumRows(int version, int count, qsizetype infoSize) {
    QList<AlbumRow> rows;
    for (int i = 0; i < count; ++i) {
        AlbumRow row;
        row.info = QString(infoSize, QChar(u'あ' + version)) + u"\r\n"_s + QString::number(i) + u"\r\n"_s;
        rows << row;
    }
    return rows;
}

QList<AlbumRow> photoRows(const QString& work, int version) {
    QList<AlbumRow> rows;
    for (int i = 0; i < PhotoCount; ++i) {
        AlbumRow row;
        row.path = photoOf(work, version, i);
        row.info = u"\r\nP%1\r\n"_s.arg(i); // the same copy names for both versions
        rows << row;
    }
    return rows;
}

bool album(const QString& target, int version, int rows, qsizetype infoSize) {
    AlbumFile::save(QDir(target).filePath(u"album.dat"_s), albumRows(version, rows, infoSize));
    return false;
}

bool exitFiles(const QString& target, int version) {
    Workspace workspace(target);
    ScriptedPrompts prompts;
    workspace.settings.setText(30, QString(100, QChar(u'A' + version)));
    for (int i = 0; i < 2000; ++i)
        workspace.Bookmarks.add(u"/site/%1/folder %2"_s.arg(version).arg(i));
    Session::shutDown(workspace, prompts, version == 1);
    return !prompts.messages.isEmpty();
}

bool workbook(const QString& target, int version) {
    Workbook book = Workbook::createBlank({u"S"_s});
    for (int r = 1; r <= 3000; ++r)
        book.setText(r, 1, u"v%1 row %2 "_s.arg(version).arg(r) + QString(200, u'x'));
    book.save(QDir(target).filePath(u"book.xlsx"_s));
    return false;
}

bool pdf(const QString& target, int version) {
    PrintDocument document;
    document.StartDoc();
    // Lines only: which font a process falls back to is not the writer's concern.
    document.DrawRectangle(1000, 1000, 2000 + 500 * version, 3000);
    document.EndDoc();
    writePdf(document, QDir(target).filePath(u"album.pdf"_s), 1, 1);
    return false;
}

bool copies(const QString& work, const QString& target, int version) {
    AlbumSheet sheet;
    const QList<AlbumRow> rows = photoRows(work, version);
    for (int i = 0; i < rows.size(); ++i) {
        sheet.setText(i + 1, AlbumColumn::Path, rows[i].path);
        sheet.setText(i + 1, AlbumColumn::Info, rows[i].info);
    }
    const PhotoCopy::Summary summary =
        PhotoCopy::copyRows(sheet, 1, int(rows.size()), target, false, photoGuard(sheet.rows()));
    return !summary.complete() || summary.copied != rows.size();
}

bool delivery(const QString& work, const QString& target, int version) {
    DeliveryRequest request;
    request.sheetRows = photoRows(work, version);
    request.folder = target;
    request.dtdPath = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates/PHOTO03.DTD"_s;
    DeliveryExport::run(request);
    return false;
}

// The import file pair of the classified import, small as a user's are.
bool importFile(const QString& target, int version) {
    ClassifiedData data;
    data.folder = u"C:\\現場\\%1\\"_s.arg(version);
    fillTable(data.table, u"h\r\n1,2,%1,4,5,6,7,8,1\r\n"_s.arg(version));
    data.groups = {{1, 1}};
    data.rows = {{u"%1"_s.arg(version), u"A"_s, u"1"_s, {}}};
    ClassifiedFile::save(QDir(target).filePath(u"区画1.spd"_s), data);
    return false;
}

bool checkLog(const QString& target, int version) {
    ClassifiedCheck::writeLog(QDir(target).filePath(u"CHKErr.log"_s),
                              {u"行 %1: 写真がありません"_s.arg(version)});
    return false;
}

} // namespace

void makeSources(const QString& work) {
    QDir().mkpath(QDir(work).filePath(u"src"_s));
    for (int version = 0; version < 2; ++version)
        for (int i = 0; i < PhotoCount; ++i)
            writeBytes(photoOf(work, version, i), QByteArray(512 * 1024, char('a' + version * 10 + i)));
}

const std::map<std::string, Writer>& all() {
    static const std::map<std::string, Writer> writers = {
        {"album", [](const QString&, const QString& t, int v) { return album(t, v, 2000, 1000); }},
        {"small album", [](const QString&, const QString& t, int v) { return album(t, v, 3, 20); }},
        {"exit", [](const QString&, const QString& t, int v) { return exitFiles(t, v); }},
        {"workbook", [](const QString&, const QString& t, int v) { return workbook(t, v); }},
        {"pdf", [](const QString&, const QString& t, int v) { return pdf(t, v); }},
        {"copy", copies},
        {"delivery", delivery},
        {"import file", [](const QString&, const QString& t, int v) { return importFile(t, v); }},
        {"check log", [](const QString&, const QString& t, int v) { return checkLog(t, v); }},
    };
    return writers;
}

std::map<QString, QByteArray> contentsOf(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = QDir(folder).relativeFilePath(path);
        if (name.endsWith(u".xlsx"_s))
            files[name] = Workbook::open(path).cellText(1, 1).toUtf8();
        else if (name.endsWith(u".pdf"_s))
            files[name] = QString::fromLatin1(readBytes(path))
                              .remove(QRegularExpression(u"/CreationDate \\([^)]*\\)"_s))
                              .toLatin1();
        else
            files[name] = readBytes(path);
    }
    return files;
}

} // namespace Writers
