#include "base/ansi_codec.h"
#include "base/shipped_files.h"
#include "excel/point_record.h"
#include "excel/point_record_layout.h"
#include "xlsx/workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Album {
    QTemporaryDir dir;
    PointRecord::Request request;

    Album() {
        request.programFolder = dir.path();
        request.workName = u"作業A"_s;
        request.routeName = u"路線B"_s;
        request.location = u"所在C"_s;
        request.inspector = u"点検D"_s;
    }
    QString photo(int n) {
        const QString path = dir.filePath(u"P%1.jpg"_s.arg(n));
        if (!QFileInfo(path).exists()) {
            QImage image(320, 240, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(n * 40 % 360, 200, 200));
            image.save(path, "JPEG");
        }
        return path;
    }
    void add(const QString& name, const QString& marker = {}, bool withPhoto = true) {
        AlbumRow row;
        row.info = name + u"\r\n"_s + marker;
        if (withPhoto) row.path = photo(int(request.rows.size()) + 1);
        request.rows.append(row);
    }
    void sima(const QString& text) {
        request.simaPath = dir.filePath(u"points.SIM"_s);
        QFile file(request.simaPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(AnsiCodec::encode(text).bytes);
    }
    QString out() const { return dir.filePath(u"out.xlsx"_s); }
    ReportResult run() const { return PointRecord::run(request, out(), {}); }
    Workbook result() const { return Workbook::open(out()); }
};

void expectRect(const PictureRect& r, double left, double top) {
    EXPECT_DOUBLE_EQ(r.left, left);
    EXPECT_DOUBLE_EQ(r.top, top);
    EXPECT_DOUBLE_EQ(r.width, 256);
    EXPECT_DOUBLE_EQ(r.height, 192);
}

} // namespace

TEST(PointRecordTemplate, PageAndPicturesLineUpWithRows) {
    Workbook book = Workbook::open(ShippedFiles::findTemplate({}, PointRecordLayout::TemplateName));
    ASSERT_EQ(book.sheetIndex(u"点の記4"_s), 1);
    book.activate(1);
    double sum = 0, top = 0;
    for (int r = 1; r <= 33; ++r) {
        if (r == 10) top = sum;
        sum += book.rowHeight(r);
    }
    EXPECT_DOUBLE_EQ(sum, 816.75);
    EXPECT_DOUBLE_EQ(top, 215);
    double left = 0;
    for (int c = 1; c <= 12; ++c)
        left += book.columnWidth(c);
    EXPECT_GE(left, 3 + 256);
    EXPECT_LE(left, 262);
    EXPECT_EQ(book.cellText(18, 5), u"点名"_s); // the lower band's labels
}

TEST(PointRecord, FourAPageLeftRightWithTextsAndEmptyPlaces) {
    Album album;
    for (int n = 1; n <= 3; ++n)
        album.add(u"P%1"_s.arg(n), u"標石"_s);
    album.add(u"P4"_s, {}, false); // keeps its place empty
    album.add(u"P5"_s);
    album.request.defaultMarker = u"金属標"_s;
    ASSERT_FALSE(album.run());
    Workbook book = album.result();
    ASSERT_EQ(book.sheetCount(), 1);
    EXPECT_EQ(book.sheetName(1), u"点の記4"_s);
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 4);
    expectRect(pictures[0].rect, 3, 215);
    expectRect(pictures[1].rect, 262, 215);
    expectRect(pictures[2].rect, 3, 215 + 371.25);
    expectRect(pictures[3].rect, 3, 215 + 816.75); // row 5: page 2, upper left

    EXPECT_EQ(book.cellText(2, 2), u"作業A"_s);
    EXPECT_EQ(book.cellText(33, 20), u"点検D"_s);
    EXPECT_EQ(book.cellText(4, 1), u"路線B"_s);
    EXPECT_EQ(book.cellText(4, 5), u"P1"_s);
    EXPECT_EQ(book.cellText(4, 9), u"標石"_s);
    EXPECT_EQ(book.cellText(5, 4), u"所在C"_s);
    EXPECT_EQ(book.cellText(4, 17), u"P2"_s);
    EXPECT_EQ(book.cellText(19, 5), u"P3"_s);
    EXPECT_EQ(book.cellText(19, 17), QString()); // the row without a photo
    EXPECT_EQ(book.cellText(33 + 2, 2), u"作業A"_s);
    EXPECT_EQ(book.cellText(33 + 33, 20), u"点検D"_s);
    EXPECT_EQ(book.cellText(33 + 4, 5), u"P5"_s);
    EXPECT_EQ(book.cellText(33 + 4, 9), u"金属標"_s); // empty line 2: the default kind
    EXPECT_EQ(book.cellText(33 + 6, 4), QString());   // no SIMA file: no coordinates
}

TEST(PointRecord, CoordinatesFromACp932SimaFileRoundedHalvesAway) {
    Album album;
    album.add(u"境界１"_s);
    album.add(u"不明点"_s); // not in the file: no coordinates, no message
    album.add(u"Ｔ２"_s);
    album.sima(u"G00,01,テスト,\r\nA01,1,境界１,1234.5625,-20.25,10.0005,\r\n"
               u"A01,2,Ｔ２,0.5,98765.4321,,\r\n"_s);
    album.request.heightOn = true;
    ASSERT_FALSE(album.run());
    Workbook book = album.result();
    EXPECT_DOUBLE_EQ(book.cellText(6, 4).toDouble(), 1234.563);
    EXPECT_DOUBLE_EQ(book.cellText(7, 4).toDouble(), -20.25);
    EXPECT_DOUBLE_EQ(book.cellText(8, 4).toDouble(), 10.001);
    EXPECT_EQ(book.cellText(6, 16), QString());
    EXPECT_DOUBLE_EQ(book.cellText(21, 4).toDouble(), 0.5);
    EXPECT_DOUBLE_EQ(book.cellText(22, 4).toDouble(), 98765.432);
    EXPECT_EQ(book.cellText(23, 4), QString()); // no height in the file

    album.request.heightOn = false;
    ASSERT_FALSE(album.run());
    EXPECT_EQ(album.result().cellText(8, 4), QString());
}

TEST(PointRecord, UnreadableSimaOrBadPhotoWritesNothing) {
    Album album;
    album.add(u"P1"_s);
    album.request.simaPath = album.dir.filePath(u"missing.SIM"_s);
    auto failure = album.run();
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.contains(u"missing.SIM"_s) || failure->detail.contains(u"missing.SIM"_s));
    EXPECT_FALSE(QFileInfo::exists(album.out()));

    album.request.simaPath.clear();
    album.request.rows[0].path = album.dir.filePath(u"gone.jpg"_s);
    failure = album.run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->badRows, QList<int>{1});
    EXPECT_FALSE(QFileInfo::exists(album.out()));
}
