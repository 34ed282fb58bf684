// Outside judges: LibreOffice prints the workbooks we write, openpyxl reads them back.
#include "excel/album_excel.h"
#include "outside_judges.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using namespace OutsideJudges;

QString lineText(int n, int g) {
    return u"測点%1-%2"_s.arg(n).arg(g);
}

struct Album {
    QTemporaryDir dir;
    AlbumExcel::Request request;

    Album(int rows, bool a3) {
        for (int n = 1; n <= rows; ++n) {
            QImage image(400, 300, QImage::Format_RGB32);
            image.fill(photoColour(n));
            const QString path = dir.filePath(u"P%1.jpg"_s.arg(n));
            image.save(path, "JPEG", 95);
            AlbumRow row;
            for (int g = 1; g <= 9; ++g)
                row.info += lineText(n, g) + u"\r\n"_s;
            row.path = path;
            request.rows << row;
        }
        request.a3 = a3;
        request.programFolder = dir.path();
    }
};

} // namespace

TEST(AlbumJudges, LibreOfficePrintsEveryPageWithItsLinesAndOnePicturePerPhotoInItsFrame) {
    if (const QString missing = missingPrintTools(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    Album a3(7, true), a4(4, false);
    QTemporaryDir work;
    const QString a3Book = work.filePath(u"a3.xlsx"_s), a4Book = work.filePath(u"a4.xlsx"_s);
    ASSERT_FALSE(AlbumExcel::run(a3.request, a3Book, {}));
    ASSERT_FALSE(AlbumExcel::run(a4.request, a4Book, {}));
    printToPdf(work.path(), {a3Book, a4Book});

    // Photos on each page, by album row.
    const QList<std::pair<QString, QList<QList<int>>>> books = {
        {work.filePath(u"a3.pdf"_s), {{1, 2, 3, 4, 5, 6}, {7}}},
        {work.filePath(u"a4.pdf"_s), {{1, 2, 3}, {4}}}};
    for (const auto& [pdf, pages] : books) {
        ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
        EXPECT_EQ(pageCount(pdf), pages.size()) << pdf.toStdString() << ": one album page per printed page";
        auto imagesOnPage = picturesPerPage(pdf);
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const int page = int(p + 1);
            EXPECT_EQ(imagesOnPage[page], pages[p].size()) << pdf.toStdString() << " page " << page;
            const QString text = pageText(pdf, page);
            for (int n = 1; n <= 7; ++n)
                for (int g = 1; g <= 9; ++g)
                    EXPECT_EQ(text.contains(lineText(n, g)), pages[p].contains(n) && g <= 8)
                        << pdf.toStdString() << " page " << page << ": " << lineText(n, g).toStdString();
        }
    }

    // On the first A3 page the photos keep their frames' shape, fill the left column top to
    // bottom, then the right column at the same heights.
    const QImage page = renderPage(work.filePath(u"a3.pdf"_s), 1, 40, work.path());
    ASSERT_FALSE(page.isNull());
    const auto boxes = photoBoxes(page, 6);
    ASSERT_EQ(boxes.size(), 6u);
    for (const auto& [n, box] : boxes) {
        EXPECT_NEAR(double(box.width()) / box.height(), 356 / 259.5, 0.08) << "photo " << n;
        if (n > 1 && n != 4) {
            EXPECT_GT(box.top(), boxes.at(n - 1).bottom()) << "photo " << n;
        }
        if (n > 3) {
            EXPECT_GT(box.left(), boxes.at(n - 3).right()) << "photo " << n;
            EXPECT_NEAR(box.top(), boxes.at(n - 3).top(), 2) << "photo " << n;
        }
    }
}

TEST(AlbumJudges, OpenpyxlReadsTheSheetCellsAndPageBreaks) {
    if (const QString missing = missingOpenpyxl(); !missing.isEmpty()) GTEST_SKIP() << missing.toStdString();
    Album album(7, false);
    const QString book = album.dir.filePath(u"a4.xlsx"_s);
    ASSERT_FALSE(AlbumExcel::run(album.request, book, {}));
    const QString read = u"import openpyxl,sys\n"
                         u"wb=openpyxl.load_workbook(sys.argv[1]); ws=wb.active\n"
                         u"print(wb.sheetnames, ws.title)\n"
                         u"print(ws['E3'].value, ws['E10'].value, ws['E11'].value, ws['E48'].value, "
                         u"ws['E93'].value)\n"
                         u"print(sorted(b.id for b in ws.row_breaks.brk))\n"_s;
    EXPECT_EQ(python(read, {book}).toStdString(),
              u"['写真帳A4'] 写真帳A4\n測点1-1 測点1-8 None 測点4-1 測点7-1\n[45, 90, 135]"_s.toStdString());
}
