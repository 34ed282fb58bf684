#include "support/test_files.h"
#include "survey/real_estate_layout.h"
#include "survey/real_estate_report.h"
#include "xlsx/workbook.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Python = u"/usr/bin/python3"_s;

class RealEstateReportTest : public testing::Test {
protected:
    // Parcels named as given, each with `points` members P<parcel>-<n>.
    void parcels(const QList<std::pair<QString, int>>& list) {
        QString text;
        int n = 0;
        for (const auto& [name, points] : list) {
            text += u"D00,"_s + QString::number(++n) + u","_s + name + u",1,\r\n"_s;
            for (int i = 1; i <= points; ++i)
                text += u"B01,"_s + QString::number(i) + u",P"_s + QString::number(n) + u"-"_s +
                        QString::number(i) + u",\r\n"_s;
        }
        request.tables = parcelTables(SimaReader::parse(text));
        request.parcels.clear();
        for (int i = 1; i <= list.size(); ++i)
            request.parcels << i;
    }
    void photo(const QString& name) {
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(dir.filePath(name), "JPEG");
    }
    Workbook build() {
        const auto failure = RealEstateReport::run(request, output, {});
        EXPECT_FALSE(failure)
            << (failure ? QString(failure->message + failure->details().join(u'\n')).toStdString() : "");
        return Workbook::open(output);
    }

    QTemporaryDir dir;
    QString output = dir.filePath(RealEstateReport::OutputName);
    RealEstateReport::Request request = [this] {
        RealEstateReport::Request r;
        r.folder = dir.path();
        r.date = u"2026/12/07"_s;
        r.nearSuffix = u"_01"_s;
        r.farSuffix = u"_02"_s;
        r.programFolder = dir.path();
        return r;
    }();
};

} // namespace

TEST_F(RealEstateReportTest, TypeOneLaysSevenPhotosOnTwoPagesAndNumbersThem) {
    parcels({{u"12-3"_s, 7}, {u"5"_s, 1}});
    for (int i = 1; i <= 7; ++i)
        photo(u"P1-%1.jpg"_s.arg(i));
    Workbook book = build();
    ASSERT_EQ(book.sheetCount(), 2);
    EXPECT_EQ(book.sheetName(1), u"12-3"_s);
    EXPECT_EQ(book.sheetName(2), u"5"_s);
    EXPECT_EQ(book.sheetIndex(RealEstateLayout::SheetName), 0);
    book.activate(1);
    EXPECT_EQ(book.cellText(1, 5), u"12番3"_s);
    // Slots on the final sheet: page g (from 0) starts at row 2 + 50g; bands of 17 rows.
    const auto slotRow = [](int page, int band) { return 2 + 50 * page + 17 * band + 12; };
    EXPECT_EQ(book.cellText(slotRow(0, 0), 2), u"画像資料NO1"_s);
    EXPECT_EQ(book.cellText(slotRow(0, 0), 7), u"画像資料NO2"_s);
    EXPECT_EQ(book.cellText(slotRow(0, 2), 7), u"画像資料NO6"_s);
    EXPECT_EQ(book.cellText(slotRow(1, 0), 2), u"画像資料NO7"_s);
    EXPECT_EQ(book.cellText(slotRow(1, 0), 7), QString());
    EXPECT_EQ(book.cellText(slotRow(0, 1) + 1, 2), u"適用"_s);
    EXPECT_EQ(book.cellText(slotRow(0, 1) + 2, 8), u"筆界点"_s);
    EXPECT_EQ(book.cellText(slotRow(0, 1) + 2, 9), u"P1-4"_s);
    EXPECT_EQ(book.cellText(slotRow(0, 1) + 3, 2), u"■撮影□作成"_s);
    EXPECT_EQ(book.cellText(slotRow(0, 1) + 3, 4), u"2026/12/07"_s);

    const QList<Workbook::Picture> pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 7);
    // Left, right, left, right, ... from the top; the seventh at the top left of page two.
    const double pageTop = 16.5; // below the heading row
    for (int i = 0; i < 7; ++i) {
        const int page = i / 6, s = i % 6;
        EXPECT_NEAR(pictures[i].rect.left, s % 2 == 0 ? 13 : 293, 0.01) << i;
        EXPECT_NEAR(pictures[i].rect.top, pageTop + 825 * page + 280.5 * (s / 2) + 17, 0.01) << i;
        EXPECT_NEAR(pictures[i].rect.width, 240, 0.01);
        EXPECT_NEAR(pictures[i].rect.height, 180, 0.01);
    }
    // The second parcel's photo is missing: its slot is written, its number runs on.
    book.activate(2);
    EXPECT_EQ(book.cellText(slotRow(0, 0), 2), u"画像資料NO8"_s);
    EXPECT_TRUE(book.pictures().isEmpty());
}

TEST_F(RealEstateReportTest, TypeTwoPutsTheFarPhotoLeftAndTheNearRight) {
    parcels({{u"A"_s, 3}});
    request.type2 = true;
    for (int i = 1; i <= 3; ++i) {
        photo(u"P1-%1_02.jpg"_s.arg(i));
        photo(u"P1-%1_01.jpg"_s.arg(i));
    }
    EXPECT_EQ(RealEstateReport::photosOfPoint(request, u"P1-1"_s),
              (QStringList{QDir(dir.path()).filePath(u"P1-1_02.jpg"_s),
                           QDir(dir.path()).filePath(u"P1-1_01.jpg"_s)}));
    Workbook book = build();
    book.activate(1);
    EXPECT_EQ(book.pictures().size(), 6);
    for (int band = 0; band < 3; ++band) {
        const int row = 2 + 17 * band + 14;
        EXPECT_EQ(book.cellText(row, 3), u"筆界点"_s);
        EXPECT_EQ(book.cellText(row, 4), u"P1-%1"_s.arg(band + 1));
        EXPECT_EQ(book.cellText(row, 9), u"P1-%1"_s.arg(band + 1));
    }
    EXPECT_EQ(book.lastRow() <= 51, true);
}

TEST_F(RealEstateReportTest, SheetNamesExcelRefusesAreMadeValidAndUnique) {
    parcels({{u"a/b"_s, 1},
             {u"a/b"_s, 1},
             {u"地番"_s, 1},
             {QString(), 1},
             {u"ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ１２３４５６"_s, 1}});
    Workbook book = build();
    ASSERT_EQ(book.sheetCount(), 5);
    EXPECT_EQ(book.sheetName(1), u"a_b"_s);
    EXPECT_EQ(book.sheetName(2), u"a_b (2)"_s);
    EXPECT_NE(book.sheetName(3), u"地番"_s);
    EXPECT_FALSE(book.sheetName(4).isEmpty());
    EXPECT_EQ(book.sheetName(5).size(), 31);
    book.activate(2);
    EXPECT_EQ(book.cellText(1, 5), u"a/b"_s);
    book.activate(3);
    EXPECT_EQ(book.cellText(1, 5), u"地番"_s);
}

TEST_F(RealEstateReportTest, AnUnreadablePhotoIsNamedAndNothingIsWritten) {
    parcels({{u"A"_s, 2}});
    photo(u"P1-1.jpg"_s);
    writeBytes(dir.filePath(u"P1-2.jpg"_s), "not a photo");
    const auto failure = RealEstateReport::run(request, output, {});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, ReportPipeline::PhotoFailed);
    ASSERT_EQ(failure->details().size(), 1);
    EXPECT_TRUE(failure->details()[0].contains(u"P1-2.jpg"_s));
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_F(RealEstateReportTest, AFolderWithoutItsSeparatorStillFindsThePhotos) {
    parcels({{u"A"_s, 1}});
    photo(u"P1-1.jpg"_s);
    ASSERT_FALSE(request.folder.endsWith(u'/'));
    Workbook book = build();
    book.activate(1);
    EXPECT_EQ(book.pictures().size(), 1);
}

// The workbook as another program reads it.
TEST_F(RealEstateReportTest, OpenpyxlReadsTheReport) {
    if (!QFileInfo(Python).isExecutable() || QProcess::execute(Python, {u"-c"_s, u"import openpyxl"_s}) != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is missing";
    parcels({{u"12-3"_s, 7}});
    for (int i = 1; i <= 7; ++i)
        photo(u"P1-%1.jpg"_s.arg(i));
    build();
    QProcess p;
    p.start(Python, {u"-c"_s,
                     u"import openpyxl,sys\n"
                     u"wb=openpyxl.load_workbook(sys.argv[1])\n"
                     u"ws=wb.worksheets[0]\n"
                     u"print(wb.sheetnames, ws.cell(1,5).value, ws.cell(14,2).value, ws.cell(64,2).value,"
                     u" ws.cell(14,2).border.bottom.style, ws.cell(17,5).border.bottom.style)\n"_s,
                     output});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(),
              u"['12-3'] 12番3 画像資料NO1 画像資料NO7 hair hair"_s);
}
