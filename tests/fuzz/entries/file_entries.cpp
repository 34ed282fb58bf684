#include "fuzz_entries.h"

#include "base/app_error.h"
#include "base/blackboard_xmp.h"
#include "base/exif_data.h"
#include "base/jpeg_segments.h"
#include "base/picture_decode.h"
#include "delivery/folder_check.h"
#include "delivery/index_check.h"
#include "delivery/photo_header.h"
#include "viewer/thumbnailer.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <algorithm>
#include <string_view>

using namespace Qt::StringLiterals;

namespace FuzzEntries {

namespace {

// What the reports ask of a template: every sheet's text and layout, a row block copied
// below the last row, the whole book written back.
void readWorkbook(Workbook& book) {
    for (int sheet = 1; sheet <= book.sheetCount(); ++sheet) {
        book.activate(sheet);
        book.sheetName(sheet);
        const int last = std::min(book.lastRow(), 60);
        for (int row = 1; row <= last; ++row) {
            book.rowHeight(row);
            for (int column = 1; column <= 12; ++column)
                book.cellText(row, column);
        }
        for (int column = 1; column <= 12; ++column)
            book.columnWidth(column);
        book.merges();
        book.rowBreaks();
        book.pictures();
    }
    book.activate(1);
    if (book.lastRow() > 0) {
        const int last = std::min(book.lastRow(), 60);
        book.copyRows(1, last);
        book.pasteRows(last + 1);
    }
    book.copySheetBefore(1);
    book.toBytes();
}

// Compressed parts hide the XML from the mutator, so text input replaces the XML parts of
// a valid package in turn, and the package is opened as a file would be.
QByteArray packageWithParts(std::string_view input) {
    static const QByteArray blank = Workbook::createBlank({u"写真帳"_s}).toBytes();
    XlsxPackage package = XlsxPackage::fromZip(blank, u"blank"_s);
    for (const char* part : {"xl/worksheets/sheet1.xml", "xl/workbook.xml", "xl/styles.xml",
                             "xl/_rels/workbook.xml.rels", "[Content_Types].xml"}) {
        const size_t end = input.find(PartMarker);
        package.setBytes(part, QByteArray(input.data(), qsizetype(std::min(end, input.size()))));
        if (end == std::string_view::npos) break;
        input.remove_prefix(end + sizeof(PartMarker) - 1);
    }
    return package.toZip();
}

} // namespace

void workbook(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    try {
        Workbook book = input.starts_with("PK")
                            ? Workbook::open(inputFile(data, size, u"template.xlsx"_s))
                            : Workbook::fromBytes(packageWithParts(input), u"template.xlsx"_s);
        readWorkbook(book);
    } catch (const AppError&) {
    }
}

void photoXml(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString text;
    FolderCheck::encodingFindings(bytes, text);
    // A folder holding two pictures, one of them a readable JPEG, and the DTD.
    IndexFiles files;
    files.pictures = {u"P0000001.JPG"_s, u"P0000002.JPG"_s};
    files.drawings = {u"D0000001.JPG"_s};
    files.topLevel = {u"PHOTO.XML"_s, u"PHOTO05.DTD"_s};
    files.header = [](const QString& name) {
        PhotoHeader header;
        header.readable = true;
        header.jpeg = header.complete = name.endsWith(u"1.JPG"_s);
        header.format = header.jpeg ? PhotoHeader::Format::Jpeg : PhotoHeader::Format::Png;
        header.size = QSize(1280, 960);
        header.taken = QDate(2024, 5, 1);
        return header;
    };
    files.drawingHeader = files.header;
    try {
        IndexCheck::check(text, files);
    } catch (const AppError&) {
    }
}

void photoHeader(const uint8_t* data, size_t size) {
    const QString path = inputFile(data, size, u"P0000001.JPG"_s);
    PhotoHeaders::read(path);
    JpegSegments::exifDateTaken(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    Thumbnailer::decode(path, QSize(160, 120));
}

// A photo's headers, and the same bytes as a packet and as its own extended part.
void blackboard(const uint8_t* data, size_t size) {
    BlackboardXmp::read(inputFile(data, size, u"blackboard.jpg"_s));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    BlackboardXmp::fromPackets(bytes, {bytes});
}

// The input as a photo whose preview is shown, and as the body of its Exif segment.
void exifPreview(const uint8_t* data, size_t size) {
    const QString path = inputFile(data, size, u"P0000002.JPG"_s);
    PictureDecode::exifPreview(path, QSize(110, 76));
    ExifData::previewOf(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
}

} // namespace FuzzEntries
