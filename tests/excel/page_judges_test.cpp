// LibreOffice judges the pages: pictures stay inside the frames of templates written in the
// standard fonts Japanese offices use, and every page of every report prints whole on one sheet,
// its Japanese text drawn with Japanese glyphs.
#include "excel/album_excel.h"
#include "excel/field_report.h"
#include "outside_judges.h"
#include "survey/real_estate_report.h"
#include "survey/sima_reader.h"
#include "xlsx/workbook.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

using namespace OutsideJudges;

// A Free template as the office's spreadsheet program writes it: two frames across a page,
// columns of 20, 3 × 100, 40 and 3 × 100 screen pixels stored in the font's own digits, rows of
// 20 points, the pictures 8 points inside their frames, printed at 80 %.
void writeFreeTemplate(const QString& path, const StandardFont& font, int digitPixels) {
    Workbook book = Workbook::createBlank({u"Page"_s, u"Values"_s}, font);
    const int pixels[] = {20, 100, 100, 100, 40, 100, 100, 100};
    for (int c = 1; c <= 8; ++c)
        book.setColumnWidth(c, double(pixels[c - 1]) / digitPixels);
    for (int r = 1; r <= 16; ++r)
        book.setRowHeight(r, 20);
    std::map<int, int> edges;
    for (int first : {2, 6})
        for (int r = 2; r <= 11; ++r)
            for (int c = first; c <= first + 2; ++c) {
                CellStyle edge;
                edge.left = c == first;
                edge.right = c == first + 2;
                edge.top = r == 2;
                edge.bottom = r == 11;
                const int key = edge.left | edge.right << 1 | edge.top << 2 | edge.bottom << 3;
                if (key == 0) continue;
                if (!edges.count(key)) edges[key] = book.addCellStyle(edge);
                book.setCellStyle(r, c, edges[key]);
            }
    book.addRowBreak(16);
    book.setPageSetup({false, 9, 80, 0.5, false});
    book.activate(2);
    // C2 to C18: one row of two photos 209 × 184, a block of 16 rows and 320 points.
    const double values[] = {1, 2, 184, 209, 320, 0, 46, 28, 16, 23, 12, 2, 0, 4, 0, 0, 0};
    for (int i = 0; i < 17; ++i)
        book.setNumber(i + 2, 3, values[i]);
    book.save(path);
}

QList<AlbumRow> photoRows(const QString& folder, int count) {
    QList<AlbumRow> rows;
    for (int n = 1; n <= count; ++n) {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(photoColour(n));
        AlbumRow row;
        row.path = folder + u"/P%1.jpg"_s.arg(n);
        image.save(row.path, "JPEG", 95);
        row.info = u"写真%1\r\n"_s.arg(n);
        rows << row;
    }
    return rows;
}

bool isLine(const QImage& page, int x, int y) {
    const QColor c = page.pixelColor(x, y);
    return c.value() < 120 && c.hsvSaturation() < 60;
}

// How far outside each edge of the picture the nearest line lies, in pixels: left, right, top,
// bottom; -1 where no line is found.
std::array<int, 4> distancesToLines(const QImage& page, const QRect& box) {
    std::array<int, 4> found{-1, -1, -1, -1};
    const QPoint centre = box.center();
    for (int d = 1; d < 200; ++d) {
        const bool inside[] = {box.left() - d >= 0, box.right() + d < page.width(), box.top() - d >= 0,
                               box.bottom() + d < page.height()};
        const QPoint at[] = {{box.left() - d, centre.y()},
                             {box.right() + d, centre.y()},
                             {centre.x(), box.top() - d},
                             {centre.x(), box.bottom() + d}};
        for (int side = 0; side < 4; ++side)
            if (found[size_t(side)] < 0 && inside[side] && isLine(page, at[side].x(), at[side].y()))
                found[size_t(side)] = d;
    }
    return found;
}

ParcelTables sevenPoints() {
    QString text = u"D00,1,12-3,1,\r\n"_s;
    for (int i = 1; i <= 7; ++i)
        text += u"B01,%1,P%1,\r\n"_s.arg(i);
    return parcelTables(SimaReader::parse(text));
}

} // namespace

TEST(PageJudges, PicturesStayInTheirFramesInEveryStandardFontAndEveryPagePrintsWhole) {
    if (const QString missing = missingPrintTools(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    QTemporaryDir dir;
    struct Font {
        StandardFont font;
        int digitPixels; // as the office's spreadsheet program measures it
        QString name;
    };
    const Font fonts[] = {{{u"ＭＳ Ｐゴシック"_s, 11}, 8, u"mspgothic"_s},
                          {{u"Calibri"_s, 11}, 7, u"calibri"_s},
                          {{u"游ゴシック"_s, 11}, 8, u"yugothic"_s}};
    QStringList books;
    for (const Font& f : fonts) {
        AlbumExcel::Request request;
        request.rows = photoRows(dir.path(), 3);
        request.free = true;
        request.programFolder = dir.path();
        request.templatePath = dir.filePath(f.name + u"ORG.xlsx"_s);
        writeFreeTemplate(request.templatePath, f.font, f.digitPixels);
        books << dir.filePath(f.name + u".xlsx"_s);
        ASSERT_FALSE(AlbumExcel::run(request, books.last(), {})) << f.name.toStdString();
    }
    // The shipped templates, two pages each: the boundary points and work management reports
    // and the real-estate report (the album and reconnaissance reports are judged elsewhere).
    for (const auto& [kind, photos] : {std::pair{5, 9}, {6, 7}}) {
        FieldReport::Request request;
        request.rows = photoRows(dir.path(), photos);
        request.kind = kind;
        request.programFolder = dir.path();
        books << dir.filePath(u"kind%1.xlsx"_s.arg(kind));
        ASSERT_FALSE(FieldReport::run(request, books.last(), {})) << kind;
    }
    RealEstateReport::Request estate;
    estate.tables = sevenPoints();
    estate.parcels = {1};
    estate.folder = dir.path();
    estate.date = u"2026/12/08"_s;
    estate.programFolder = dir.path();
    photoRows(dir.path(), 7);
    books << dir.filePath(u"estate.xlsx"_s);
    ASSERT_FALSE(RealEstateReport::run(estate, books.last(), {}));
    printToPdf(dir.path(), books);

    // Pictures on each page; a Free workbook also prints the sheet of its layout values.
    const std::map<QString, std::map<int, int>> picturesExpected = {
        {u"mspgothic"_s, {{1, 2}, {2, 1}}}, {u"calibri"_s, {{1, 2}, {2, 1}}},
        {u"yugothic"_s, {{1, 2}, {2, 1}}},  {u"kind5"_s, {{1, 8}, {2, 1}}},
        {u"kind6"_s, {{1, 6}, {2, 1}}},     {u"estate"_s, {{1, 6}, {2, 1}}}};
    for (const auto& [name, pictures] : picturesExpected) {
        const QString pdf = dir.filePath(name + u".pdf"_s);
        ASSERT_TRUE(QFileInfo::exists(pdf)) << name.toStdString();
        const bool free = !name.startsWith(u"kind"_s) && name != u"estate"_s;
        EXPECT_EQ(pageCount(pdf), free ? 3 : 2) << name.toStdString() << ": a page printed across sheets";
        EXPECT_EQ(picturesPerPage(pdf), pictures) << name.toStdString();
        EXPECT_TRUE(fontsOf(pdf).contains(u"IPA"_s))
            << name.toStdString() << ": " << fontsOf(pdf).toStdString();
    }
    EXPECT_TRUE(pageText(dir.filePath(u"kind5.pdf"_s), 1).contains(u"写真1"_s));

    // Each picture lies inside its own frame: the frame's lines are just outside every edge.
    for (const Font& f : fonts) {
        const QImage page = renderPage(dir.filePath(f.name + u".pdf"_s), 1, 72, dir.path());
        ASSERT_FALSE(page.isNull());
        const auto boxes = photoBoxes(page, 2);
        ASSERT_EQ(boxes.size(), 2u) << f.name.toStdString();
        for (const auto& [n, box] : boxes) {
            const auto distances = distancesToLines(page, box);
            for (int side = 0; side < 4; ++side)
                EXPECT_TRUE(distances[size_t(side)] >= 1 && distances[size_t(side)] <= 24)
                    << f.name.toStdString() << " photo " << n << " side " << side << ": "
                    << distances[size_t(side)];
        }
    }
}
