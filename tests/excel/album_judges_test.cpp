// Outside judges: LibreOffice prints the workbooks we write, openpyxl reads them back.
#include "excel/album_excel.h"

#include <QColor>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

QString output(const QString& program, const QStringList& args, int timeoutMs = 60000) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QColor photoColour(int n) {
    return QColor::fromHsv(n * 50 % 360, 255, 255);
}

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

// Where each photo's colour lies on a rendered page, in pixels.
std::map<int, QRect> photoBoxes(const QImage& page, int photos) {
    std::map<int, QRect> boxes;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.hsvSaturation() < 180 || c.value() < 180) continue;
            for (int n = 1; n <= photos; ++n) {
                const int distance = std::abs(c.hsvHue() - photoColour(n).hsvHue());
                if (std::min(distance, 360 - distance) < 12) boxes[n] |= QRect(x, y, 1, 1);
            }
        }
    return boxes;
}

} // namespace

TEST(AlbumJudges, LibreOfficePrintsEveryPageWithItsLinesAndOnePicturePerPhotoInItsFrame) {
    for (const char* tool : {"soffice", "pdftotext", "pdfimages", "pdfinfo", "pdftoppm"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            GTEST_SKIP() << tool
                         << " is missing: LibreOffice (libreoffice-calc-nogui) and poppler-utils judge";
    Album a3(7, true), a4(4, false);
    QTemporaryDir work;
    const QString a3Book = work.filePath(u"a3.xlsx"_s), a4Book = work.filePath(u"a4.xlsx"_s);
    ASSERT_FALSE(AlbumExcel::run(a3.request, a3Book, {}));
    ASSERT_FALSE(AlbumExcel::run(a4.request, a4Book, {}));
    output(u"soffice"_s,
           {u"-env:UserInstallation=file://"_s + work.filePath(u"profile"_s), u"--headless"_s,
            u"--convert-to"_s, u"pdf"_s, u"--outdir"_s, work.path(), a3Book, a4Book},
           240000);

    // Photos on each page, by album row.
    const QList<std::pair<QString, QList<QList<int>>>> books = {
        {work.filePath(u"a3.pdf"_s), {{1, 2, 3, 4, 5, 6}, {7}}},
        {work.filePath(u"a4.pdf"_s), {{1, 2, 3}, {4}}}};
    for (const auto& [pdf, pages] : books) {
        ASSERT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
        const QString info = output(u"pdfinfo"_s, {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(u"Pages:\\s+%1\\b"_s.arg(pages.size()))))
            << pdf.toStdString() << ": one album page per printed page\n"
            << info.toStdString();

        std::map<int, int> imagesOnPage;
        const QStringList listed = output(u"pdfimages"_s, {u"-list"_s, pdf}).split(u'\n');
        for (const QString& line : listed.mid(2)) {
            const QStringList fields = line.simplified().split(u' ');
            if (fields.size() > 2 && fields[2] == u"image"_s) ++imagesOnPage[fields[0].toInt()];
        }
        for (qsizetype p = 0; p < pages.size(); ++p) {
            const int page = int(p + 1);
            EXPECT_EQ(imagesOnPage[page], pages[p].size()) << pdf.toStdString() << " page " << page;
            const QString text = output(u"pdftotext"_s, {u"-f"_s, QString::number(page), u"-l"_s,
                                                         QString::number(page), pdf, u"-"_s});
            for (int n = 1; n <= 7; ++n)
                for (int g = 1; g <= 9; ++g)
                    EXPECT_EQ(text.contains(lineText(n, g)), pages[p].contains(n) && g <= 8)
                        << pdf.toStdString() << " page " << page << ": " << lineText(n, g).toStdString();
        }
    }

    // On the first A3 page the photos keep their frames' shape, fill the left column top to
    // bottom, then the right column at the same heights.
    output(u"pdftoppm"_s, {u"-r"_s, u"40"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, u"-singlefile"_s, u"-png"_s,
                           work.filePath(u"a3.pdf"_s), work.filePath(u"page"_s)});
    const QImage page(work.filePath(u"page.png"_s));
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
    if (!QFileInfo(u"/usr/bin/python3"_s).isExecutable() ||
        QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import openpyxl"_s}) != 0)
        GTEST_SKIP() << "/usr/bin/python3 with openpyxl is missing";
    Album album(7, false);
    const QString book = album.dir.filePath(u"a4.xlsx"_s);
    ASSERT_FALSE(AlbumExcel::run(album.request, book, {}));
    const QString read = u"import openpyxl,sys\n"
                         u"wb=openpyxl.load_workbook(sys.argv[1]); ws=wb.active\n"
                         u"print(wb.sheetnames, ws.title)\n"
                         u"print(ws['E3'].value, ws['E10'].value, ws['E11'].value, ws['E48'].value, "
                         u"ws['E93'].value)\n"
                         u"print(sorted(b.id for b in ws.row_breaks.brk))\n"_s;
    EXPECT_EQ(output(u"/usr/bin/python3"_s, {u"-c"_s, read, book}).trimmed().toStdString(),
              u"['写真帳A4'] 写真帳A4\n測点1-1 測点1-8 None 測点4-1 測点7-1\n[45, 90, 135]"_s.toStdString());
}
