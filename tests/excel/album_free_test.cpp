#include "excel/album_excel.h"
#include "excel/album_layout.h"
#include "xlsx/workbook.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Two photos across and two down on a page of 25 rows of 20 pt below one header row; lines
// every second row from row 3, the second photo column 5 columns to the right.
const double Values[] = {2, 2, 100, 150, 500, 10, 20, 30, 25, 40, 3, 2, 10, 5, 2, 1, 15};

struct FreeAlbum {
    QTemporaryDir dir;
    AlbumExcel::Request request;

    FreeAlbum() {
        QImage image(120, 80, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(dir.filePath(u"p.jpg"_s));
        for (int n = 1; n <= 5; ++n) {
            AlbumRow row;
            for (int g = 1; g <= 9; ++g)
                row.info += u"行%1-%2\r\n"_s.arg(n).arg(g);
            if (n != 3) row.path = dir.filePath(u"p.jpg"_s);
            request.rows << row;
        }
        request.free = true;
        request.programFolder = dir.path();
        request.templatePath = dir.filePath(u"Free.xlsx"_s);
        request.title = u"工事"_s;
        request.titleRow = u"2.5"_s; // halves go to the even neighbour: row 2
        request.titleColumn = u"1"_s;
        writeTemplate(Values);
    }
    void writeTemplate(const double (&values)[17]) {
        Workbook book = Workbook::createBlank({u"Page"_s, u"Values"_s});
        book.setText(1, 1, u"header"_s);
        for (int r = 2; r <= 26; ++r)
            book.setRowHeight(r, 20);
        book.activate(2);
        for (int i = 0; i < 17; ++i)
            book.setNumber(i + 2, 3, values[i]);
        book.save(request.templatePath);
    }
    QByteArray templateHash() const {
        QFile f(request.templatePath);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
    }
};

AlbumLayout::FreeValues freeValues() {
    AlbumLayout::FreeValues v;
    for (int i = 0; i < 17; ++i)
        v.c[size_t(i + 2)] = Values[i];
    return v;
}

} // namespace

TEST(AlbumFree, PhotosFillAcrossThenDownAndLinesKeepTheirOldRowSteps) {
    QList<bool> photos(5, true);
    photos[2] = false;
    const auto plan = AlbumLayout::planFree(freeValues(), photos);
    EXPECT_EQ(plan.firstBlockRow, 2);
    EXPECT_EQ(plan.lastBlockRow, 26);
    EXPECT_EQ(plan.pasteRows, (QList<int>{27, 52}));
    ASSERT_EQ(plan.places.size(), 4);
    // Line 1 on the text row, line k on text row + k × step − 1: what existing templates expect.
    EXPECT_EQ(plan.places[0].lineRows, (QList<int>{28, 31, 33, 35, 37, 39, 41, 43}));
    EXPECT_EQ(plan.places[0].textColumn, 2);
    EXPECT_EQ(plan.places[1].textColumn, 7);
    EXPECT_DOUBLE_EQ(plan.places[1].rect.left, 40 + 170);
    EXPECT_EQ(plan.places[2].albumRow, 4);
    EXPECT_EQ(plan.places[2].lineRows.first(), 25 + 13);
    EXPECT_DOUBLE_EQ(plan.places[2].rect.top, 15 + 30 + 110 + 500);
    EXPECT_EQ(plan.places[3].page, 2);
    EXPECT_EQ(plan.places[3].lineRows.first(), 50 + 3);
    EXPECT_DOUBLE_EQ(plan.places[3].rect.top, 15 + 30 + 1000);
}

TEST(AlbumFree, RunWritesTitleLinesAndPicturesThenRemovesTheTemplateBlock) {
    FreeAlbum album;
    const QByteArray before = album.templateHash();
    const QString out = album.dir.filePath(u"out.xlsx"_s);
    const auto failure = AlbumExcel::run(album.request, out, {});
    ASSERT_FALSE(failure) << failure->detail.toStdString();
    EXPECT_EQ(album.templateHash(), before) << "the template is only read";
    Workbook book = Workbook::open(out);
    ASSERT_EQ(book.sheetCount(), 2) << "the values sheet stays";
    EXPECT_EQ(book.cellText(1, 1), u"header"_s);
    EXPECT_EQ(book.cellText(2, 1), u"工事"_s);
    EXPECT_EQ(book.cellText(27, 1), u"工事"_s) << "a title inside the block repeats on every page";
    EXPECT_EQ(book.cellText(3, 2), u"行1-1"_s);
    EXPECT_EQ(book.cellText(6, 2), u"行1-2"_s);
    EXPECT_EQ(book.cellText(18, 2), u"行1-8"_s);
    EXPECT_EQ(book.cellText(3, 7), u"行2-1"_s);
    EXPECT_EQ(book.cellText(13, 2), QString()) << "row 3 has no photo";
    EXPECT_EQ(book.cellText(13, 7), u"行4-1"_s);
    EXPECT_EQ(book.cellText(28, 2), u"行5-1"_s);
    EXPECT_EQ(book.lastRow(), 51);
    QList<double> tops;
    for (const auto& picture : book.pictures())
        tops << std::round(picture.rect.top * 100) / 100;
    EXPECT_EQ(tops, (QList<double>{45, 45, 155, 545}));
}

TEST(AlbumFree, TitlesAndValuesOutsideTheSheetAreRefusedWithNothingWritten) {
    FreeAlbum album;
    const QString out = album.dir.filePath(u"out.xlsx"_s);
    album.request.titleRow = u"-3"_s;
    auto failure = AlbumExcel::run(album.request, out, {});
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.contains(u"行"_s) && failure->message.contains(u"-3"_s))
        << failure->message.toStdString();
    album.request.titleRow = u"1"_s;
    album.request.titleColumn = u"99999"_s;
    failure = AlbumExcel::run(album.request, out, {});
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.contains(u"列"_s)) << failure->message.toStdString();

    album.request.titleColumn = u"1"_s;
    for (auto [cell, value] : {std::pair{10, 0.0}, {16, -100.0}, {3, 1e9}}) {
        double values[17];
        std::copy(std::begin(Values), std::end(Values), values);
        values[cell - 2] = value;
        album.writeTemplate(values);
        failure = AlbumExcel::run(album.request, out, {});
        ASSERT_TRUE(failure) << cell;
        EXPECT_EQ(failure->message, AlbumExcel::BadFreeValues) << cell;
        EXPECT_FALSE(failure->keepDialogOpen);
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(AlbumFixed, OfficeTemplateWinsAndNoTemplateIsEverWrittenOver) {
    FreeAlbum album;
    album.request.free = false;
    album.request.a3 = false;
    const QString office = album.dir.filePath(u"写真帳ORG.xlsx"_s);
    {
        Workbook own = Workbook::createBlank({u"写真帳A3"_s});
        own.setText(1, 1, u"office"_s);
        own.save(office);
    }
    const QString out = album.dir.filePath(u"out.xlsx"_s);
    auto failure = AlbumExcel::run(album.request, out, {});
    ASSERT_TRUE(failure) << "the office's copy lacks the A4 sheet";
    EXPECT_TRUE(failure->message.contains(u"写真帳A4"_s) && failure->message.contains(u"写真帳ORG.xlsx"_s))
        << failure->message.toStdString();

    {
        Workbook own = Workbook::createBlank({u"写真帳A3"_s, u"写真帳A4"_s});
        own.activate(2);
        own.setText(1, 1, u"office"_s);
        own.save(office);
    }
    ASSERT_FALSE(AlbumExcel::run(album.request, out, {}));
    EXPECT_EQ(Workbook::open(out).cellText(1, 1), u"office"_s);

    const QByteArray before = album.templateHash();
    for (const QString& target : {album.request.templatePath, office}) {
        failure = AlbumExcel::run(album.request, target, {});
        ASSERT_TRUE(failure) << target.toStdString();
        EXPECT_TRUE(failure->message.contains(u"雛形"_s));
    }
    EXPECT_EQ(album.templateHash(), before) << "a fixed run saved onto the Free template";
}
