// Outside judges of the survey reports and point records: openpyxl reads the sheets and cells
// back, LibreOffice prints them.
#include "base/ansi_codec.h"
#include "excel/field_report.h"
#include "excel/point_record.h"
#include "outside_judges.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using namespace OutsideJudges;

// Rows whose lines are "N-1" ... "N-4" and line 5 the unit key; photo N has its own colour.
struct Album {
    QTemporaryDir dir;
    QList<AlbumRow> rows;

    explicit Album(int count, const QStringList& keys = {}) {
        for (int n = 1; n <= count; ++n) {
            QImage image(400, 300, QImage::Format_RGB32);
            image.fill(photoColour(n));
            AlbumRow row;
            row.path = dir.filePath(u"P%1.jpg"_s.arg(n));
            image.save(row.path, "JPEG", 95);
            row.info = u"%1-1\r\n%1-2\r\n%1-3\r\n%1-4\r\n"_s.arg(n) + keys.value(n - 1);
            rows << row;
        }
    }
    QString fieldReport(int kind, const QString& sheetName = {}) {
        FieldReport::Request request;
        request.rows = rows;
        request.kind = kind;
        request.sheetName = sheetName;
        request.programFolder = dir.path();
        const QString out = dir.filePath(u"kind%1.xlsx"_s.arg(kind));
        const auto failure = FieldReport::run(request, out, {});
        EXPECT_FALSE(failure) << failure->message.toStdString() << failure->detail.toStdString();
        return out;
    }
    // Point names "K1" ... with the coordinates of K1 and K2 in a CP932 SIMA file.
    QString pointRecords() {
        PointRecord::Request request;
        request.rows = rows;
        for (int n = 1; n <= int(rows.size()); ++n)
            request.rows[n - 1].info = u"K%1\r\n"_s.arg(n);
        request.workName = u"作業名テスト"_s;
        request.inspector = u"点検者テスト"_s;
        request.heightOn = true;
        request.simaPath = dir.filePath(u"points.SIM"_s);
        QFile sima(request.simaPath);
        EXPECT_TRUE(sima.open(QIODevice::WriteOnly));
        sima.write(AnsiCodec::encode(u"G00,01,テスト,\r\nA01,1,K1,1234.5625,-20.25,10.0005,\r\n"
                                     u"A01,2,K2,98765.4321,0.5,,\r\n"_s)
                       .bytes);
        sima.close();
        request.programFolder = dir.path();
        const QString out = dir.filePath(u"points.xlsx"_s);
        const auto failure = PointRecord::run(request, out, {});
        EXPECT_FALSE(failure) << failure->message.toStdString() << failure->detail.toStdString();
        return out;
    }
};

// Each sheet with its pictures, then each "Sheet!A1" asked for: its value and, for a number,
// its format.
const QString ReadCells = u"import openpyxl, sys\n"
                          u"wb = openpyxl.load_workbook(sys.argv[1])\n"
                          u"print([(ws.title, len(ws._images)) for ws in wb.worksheets])\n"
                          u"for ref in sys.argv[2:]:\n"
                          u"    sheet, cell = ref.split('!')\n"
                          u"    c = wb[sheet][cell]\n"
                          u"    number = isinstance(c.value, (int, float))\n"
                          u"    print(ref, repr(c.value), *([c.number_format] if number else []))\n"_s;

std::string read(const QString& book, const QStringList& cells) {
    return python(ReadCells, QStringList{book} + cells).toStdString();
}

} // namespace

TEST(ReportJudges, OpenpyxlReadsTheReportSheetsAndThePointRecordNumbers) {
    if (const QString missing = missingOpenpyxl(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    Album album(8, {u"U1"_s, {}, u"U1"_s, {}, u"U2"_s, {}, u"U2"_s, {}});

    // One sheet over a page turn: page 2 starts at row 44, its first band's text on row 45.
    EXPECT_EQ(read(album.fieldReport(0), {u"現地踏査!C2"_s, u"現地踏査!E3"_s, u"現地踏査!C16"_s,
                                          u"現地踏査!E2"_s, u"現地踏査!C45"_s, u"現地踏査!C59"_s}),
              "[('現地踏査', 8)]\n現地踏査!C2 '1-1'\n現地踏査!E3 '1-4'\n現地踏査!C16 '3-1'\n"
              "現地踏査!E2 '1-2'\n現地踏査!C45 '7-1'\n現地踏査!C59 None");
    // A sheet a page, named from the typed name.
    EXPECT_EQ(read(album.fieldReport(1, u"A"_s), {u"A!C30"_s, u"A (2)!C2"_s, u"A (2)!E2"_s}),
              "[('A', 6), ('A (2)', 2)]\nA!C30 '5-1'\nA (2)!C2 '7-1'\nA (2)!E2 '7-2'");
    // A sheet a unit of line 5, each without the template's rows.
    EXPECT_EQ(read(album.fieldReport(2), {u"U1!C2"_s, u"U1!C16"_s, u"U2!C2"_s, u"U2!C16"_s}),
              "[('U1', 4), ('U2', 4)]\nU1!C2 '1-1'\nU1!C16 '3-1'\nU2!C2 '5-1'\nU2!C16 '7-1'");

    // Coordinates stay numbers, shown with thousands separators; a point not in the file has none.
    EXPECT_EQ(read(album.pointRecords(), {u"点の記4!B2"_s, u"点の記4!E4"_s, u"点の記4!D6"_s, u"点の記4!D7"_s,
                                          u"点の記4!D8"_s, u"点の記4!P6"_s, u"点の記4!P8"_s, u"点の記4!D21"_s,
                                          u"点の記4!B35"_s, u"点の記4!E37"_s, u"点の記4!T66"_s}),
              "[('点の記4', 8)]\n点の記4!B2 '作業名テスト'\n点の記4!E4 'K1'\n"
              "点の記4!D6 1234.563 #,##0.000\n点の記4!D7 -20.25 #,##0.000\n"
              "点の記4!D8 10.001 #,##0.000\n点の記4!P6 98765.432 #,##0.000\n点の記4!P8 None\n"
              "点の記4!D21 None\n点の記4!B35 '作業名テスト'\n点の記4!E37 'K5'\n"
              "点の記4!T66 '点検者テスト'");
}

TEST(ReportJudges, LibreOfficePrintsTwoPhotosABandAndCoordinatesWithSeparators) {
    if (const QString missing = missingPrintTools(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    Album album(8);
    const QString report = album.fieldReport(0), points = album.pointRecords();
    printToPdf(album.dir.path(), {report, points});

    const QString reportPdf = album.dir.filePath(u"kind0.pdf"_s);
    ASSERT_TRUE(QFileInfo::exists(reportPdf));
    EXPECT_EQ(pageCount(reportPdf), 2);
    EXPECT_EQ(picturesPerPage(reportPdf), (std::map<int, int>{{1, 6}, {2, 2}}));
    const QString first = pageText(reportPdf, 1), second = pageText(reportPdf, 2);
    for (const QString& shown : {u"1-1"_s, u"1-4"_s, u"3-2"_s, u"5-3"_s})
        EXPECT_TRUE(first.contains(shown)) << shown.toStdString();
    EXPECT_FALSE(first.contains(u"2-1"_s)) << "the right photo's lines are not printed";
    EXPECT_TRUE(second.contains(u"7-1"_s) && !second.contains(u"5-1"_s));

    // Left photos beside right ones at the same height, bands down the page, shapes kept.
    const QImage page = renderPage(reportPdf, 1, 40, album.dir.path());
    ASSERT_FALSE(page.isNull());
    const auto boxes = photoBoxes(page, 6);
    ASSERT_EQ(boxes.size(), 6u);
    for (const auto& [n, box] : boxes) {
        EXPECT_NEAR(double(box.width()) / box.height(), 4.0 / 3.0, 0.08) << "photo " << n;
        EXPECT_TRUE(page.rect().contains(box)) << "photo " << n;
        if (n % 2 == 0) {
            EXPECT_GT(box.left(), boxes.at(n - 1).right()) << "photo " << n;
            EXPECT_NEAR(box.top(), boxes.at(n - 1).top(), 2) << "photo " << n;
        } else if (n > 1) {
            EXPECT_GT(box.top(), boxes.at(n - 2).bottom()) << "photo " << n;
        }
    }

    const QString pointsPdf = album.dir.filePath(u"points.pdf"_s);
    ASSERT_TRUE(QFileInfo::exists(pointsPdf));
    EXPECT_EQ(pageCount(pointsPdf), 2);
    EXPECT_EQ(picturesPerPage(pointsPdf), (std::map<int, int>{{1, 4}, {2, 4}}));
    const QString records = pageText(pointsPdf, 1);
    for (const QString& shown : {u"1,234.563"_s, u"-20.250"_s, u"10.001"_s, u"98,765.432"_s, u"0.500"_s,
                                 u"K1"_s, u"K4"_s, u"作業名テスト"_s, u"点検者テスト"_s})
        EXPECT_TRUE(records.contains(shown)) << shown.toStdString() << "\n" << records.toStdString();
    EXPECT_FALSE(records.contains(u"###"_s)) << "a number too wide for its cell";
    EXPECT_TRUE(pageText(pointsPdf, 2).contains(u"K5"_s));
}
