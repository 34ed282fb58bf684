#include "base/shipped_files.h"
#include "excel/album_excel.h"
#include "excel/album_layout.h"
#include "xlsx/workbook.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString Python = u"/usr/bin/python3"_s;

bool hasOpenpyxl() {
    return QFileInfo(Python).isExecutable() &&
           QProcess::execute(Python, {u"-c"_s, u"import openpyxl"_s}) == 0;
}

QString runPython(const QString& script, const QStringList& args = {}) {
    QProcess p;
    p.start(Python, QStringList{u"-c"_s, script} + args);
    p.waitForFinished(60000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

struct Album {
    QTemporaryDir dir;
    QList<AlbumRow> rows;

    QString photo(int n, QSize size = {400, 300}) {
        const QString path = dir.filePath(u"P%1.jpg"_s.arg(n));
        if (!QFileInfo(path).exists()) {
            QImage image(size, QImage::Format_RGB32);
            image.fill(QColor::fromHsv(n * 40 % 360, 200, 200));
            image.save(path, "JPEG");
        }
        return path;
    }
    void add(int n, bool withPhoto = true, int lines = 2) {
        AlbumRow row;
        for (int g = 1; g <= lines; ++g)
            row.info += u"行%1-%2\r\n"_s.arg(n).arg(g);
        if (withPhoto) row.path = photo(n);
        rows.append(row);
    }
    AlbumExcel::Request request(bool free = false, bool a3 = true) const {
        AlbumExcel::Request r;
        r.rows = rows;
        r.free = free;
        r.a3 = a3;
        r.programFolder = dir.path();
        return r;
    }
};

} // namespace

TEST(AlbumLayout, SevenRowsOnA3FillTwoPagesAcrossThenDown) {
    QList<bool> photos(7, true);
    photos[4] = false; // row 5 keeps its slot empty
    const auto plan = AlbumLayout::planFixed(photos, true);
    EXPECT_EQ(plan.pages, 2);
    ASSERT_EQ(plan.places.size(), 6);
    EXPECT_EQ(plan.places[3].albumRow, 4);
    EXPECT_EQ(plan.places[3].textColumn, 7);
    EXPECT_DOUBLE_EQ(plan.places[3].rect.left, 753.5);
    EXPECT_EQ(plan.places[3].lineRows.first(), 45 + 3);
    EXPECT_EQ(plan.places[4].albumRow, 6);
    EXPECT_DOUBLE_EQ(plan.places[4].rect.top, 13.5 + 2 * 286.5 + 859.5);
    EXPECT_EQ(plan.places[5].page, 2);
    EXPECT_EQ(plan.places[5].lineRows.first(), 90 + 3);
    EXPECT_EQ(plan.pasteRows, (QList<int>{46, 91}));
}

TEST(AlbumLayout, FreeValuesOutsideTheSheetAreRefusedAndBigPagesStillOpenFirst) {
    AlbumLayout::FreeValues v;
    v.c = {0, 0, 40, 30, 100, 100, 1000, 5, 5, 10, 50, 10, 2, 2, 3, 3, 1, 0, 0, 0, 0, 0};
    const auto plan = AlbumLayout::planFree(v, QList<bool>(1201, true));
    EXPECT_EQ(plan.pages, 2) << "a page of 1200 photos: the first row opens page 1";
    EXPECT_EQ(plan.places.first().page, 1);
    EXPECT_TRUE(AlbumLayout::freeProblem(v, 1201).isEmpty());
    for (auto [cell, value] :
         {std::pair{2, 0.0}, {10, -3.0}, {12, -50.0}, {13, -2.0}, {17, 2.0e6}, {5, 1.0e300}}) {
        AlbumLayout::FreeValues bad = v;
        bad.c[size_t(cell)] = value;
        EXPECT_FALSE(AlbumLayout::freeProblem(bad, 10).isEmpty()) << cell;
    }
}

TEST(AlbumExcel, FixedWorkbookPutsEachPhotoInItsFrameAndTheLinesBesideIt) {
    Album album;
    for (int n = 1; n <= 7; ++n)
        album.add(n, n != 5, n == 1 ? 10 : 2);
    const QString out = album.dir.filePath(u"out.xlsx"_s);
    ASSERT_FALSE(AlbumExcel::run(album.request(), out, {}));
    Workbook book = Workbook::open(out);
    ASSERT_EQ(book.sheetCount(), 1);
    EXPECT_EQ(book.sheetName(1), u"写真帳A3"_s);
    EXPECT_EQ(book.cellText(3, 5), u"行1-1"_s);
    EXPECT_EQ(book.cellText(10, 5), u"行1-8"_s) << "only lines 1 to 8";
    EXPECT_EQ(book.cellText(11, 5), QString());
    EXPECT_EQ(book.cellText(3, 7), u"行4-1"_s);
    EXPECT_EQ(book.cellText(18, 7), QString()) << "row 5 has no photo: no text either";
    EXPECT_EQ(book.cellText(33, 7), u"行6-1"_s);
    EXPECT_EQ(book.cellText(48, 5), u"行7-1"_s);
    const auto pictures = book.pictures();
    ASSERT_EQ(pictures.size(), 6);
    EXPECT_NEAR(pictures[5].rect.top, 13.5 + 859.5, 0.5);
    EXPECT_NEAR(pictures[3].rect.left, 753.5, 0.5);
    EXPECT_EQ(book.rowBreaks(), (QList<int>{45, 90}));
}

TEST(AlbumExcel, ShippedTemplateFramesHoldEveryRectangleAndLine) {
    const QString path = ShippedFiles::findTemplate(u"/nonexistent"_s, AlbumLayout::TemplateName);
    ASSERT_FALSE(path.isEmpty());
    Workbook book = Workbook::open(path);
    for (bool a3 : {true, false}) {
        book.activate(book.sheetIndex(a3 ? AlbumLayout::SheetA3 : AlbumLayout::SheetA4));
        double blockHeight = 0;
        for (int r = 1; r <= 45; ++r)
            blockHeight += book.rowHeight(r);
        EXPECT_NEAR(blockHeight, 859.5, 0.01);
        EXPECT_EQ(book.rowBreaks(), QList<int>{45});
        const auto edge = [&](int column) {
            double x = 0;
            for (int c = 1; c < column; ++c)
                x += book.columnWidth(c);
            return x;
        };
        const auto plan = AlbumLayout::planFixed(QList<bool>(a3 ? 6 : 3, true), a3);
        for (const auto& place : plan.places) {
            const bool right = place.textColumn == AlbumLayout::RightTextColumn;
            const int first = right ? 6 : 2, last = right ? 6 : 4;
            EXPECT_NEAR(place.rect.left, edge(first), 0.5);
            EXPECT_NEAR(place.rect.left + place.rect.width, edge(last + 1), 0.5);
            EXPECT_GE(edge(place.textColumn), place.rect.left + place.rect.width - 0.5);
            double top = 859.5 * place.page;
            const int bandRow = place.lineRows.first() - 45 * place.page - 2;
            for (int r = 1; r <= bandRow; ++r)
                top += book.rowHeight(r);
            EXPECT_NEAR(place.rect.top, top, 0.5) << "the picture starts on its frame's first row";
        }
    }
}

TEST(AlbumExcel, BadPhotosAreAllNamedBeforeAnythingIsWritten) {
    Album album;
    album.add(1);
    album.add(2);
    album.add(3);
    album.rows[1].path = album.dir.filePath(u"missing.jpg"_s);
    {
        QFile broken(album.dir.filePath(u"broken.jpg"_s));
        broken.open(QIODevice::WriteOnly);
        broken.write("not a photo");
    }
    album.rows[2].path = album.dir.filePath(u"broken.jpg"_s);
    const QString out = album.dir.filePath(u"out.xlsx"_s);
    const auto failure = AlbumExcel::run(album.request(false, false), out, {});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, ReportPipeline::PhotoFailed);
    EXPECT_EQ(failure->badRows, (QList<int>{2, 3}));
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST(AlbumExcel, FreeTemplateFromAnotherProgram) {
    if (!hasOpenpyxl()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is missing";
    Album album;
    for (int n = 1; n <= 5; ++n)
        album.add(n, true, 9);
    const QString templ = album.dir.filePath(u"MyFree.xlsx"_s);
    // Two photos a page across (text columns 3 and 13), lines from row 3 of a 20-row block below one
    // title row; the logo in the block repeats on every page.
    const QString make = u"import openpyxl,sys\n"
                         u"wb=openpyxl.Workbook(); ws=wb.active; ws.title='Page'\n"
                         u"ws['A2']='logo'; ws.merge_cells('A2:B2')\n"
                         u"s=wb.create_sheet('Values')\n"
                         u"vals=[1,2,150,200,400,10,20,30,20,10,3,3,0,10,float(sys.argv[2]),1,0,0,0,0]\n"
                         u"for i,v in enumerate(vals): s.cell(row=i+2,column=3,value=v)\n"
                         u"wb.save(sys.argv[1])\n"_s;
    runPython(make, {templ, u"1"_s});
    AlbumExcel::Request request = album.request(true);
    request.templatePath = templ;
    request.title = u"工事名"_s;
    request.titleRow = u"1"_s;
    request.titleColumn = u"1"_s;
    const QString out = album.dir.filePath(u"free.xlsx"_s);
    const auto failure = AlbumExcel::run(request, out, {});
    ASSERT_FALSE(failure) << failure->detail.toStdString();
    const QString read =
        u"import openpyxl,sys\n"
        u"wb=openpyxl.load_workbook(sys.argv[1]); ws=wb.worksheets[0]\n"
        u"print(wb.sheetnames)\n"
        u"print(ws['A1'].value, ws['C3'].value, ws['C10'].value, ws['C11'].value, ws['M3'].value)\n"
        u"print(ws['C23'].value, ws['C43'].value, sorted(str(m) for m in ws.merged_cells.ranges))\n"_s;
    EXPECT_EQ(
        runPython(read, {out}).toStdString(),
        u"['Page', 'Values']\n工事名 行1-1 行1-8 None 行2-1\n行3-1 行5-1 ['A22:B22', 'A2:B2', 'A42:B42']"_s
            .toStdString());

    runPython(make, {templ, u"0"_s});
    request.titleRow = u"0"_s;
    ASSERT_FALSE(AlbumExcel::run(request, out, {}));
    EXPECT_EQ(runPython(u"import openpyxl,sys\nws=openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
                        u"print(ws['A1'].value, ws['C3'].value, ws['C4'].value)\n"_s,
                        {out})
                  .toStdString(),
              u"None 行1-1 None"_s.toStdString())
        << "C16 = 0 writes line 1 only; title row 0 writes no title";
}

TEST(AlbumExcel, FreeRefusalsAndValuesThatLeaveTheSheet) {
    Album album;
    album.add(1);
    AlbumExcel::Request request = album.request(true);
    for (const QString& unset : {QString(), u"*"_s}) {
        request.templatePath = unset;
        const auto f = AlbumExcel::run(request, album.dir.filePath(u"o.xlsx"_s), {});
        ASSERT_TRUE(f);
        EXPECT_EQ(f->message, AlbumExcel::NoFreeTemplate);
        EXPECT_TRUE(f->keepDialogOpen);
    }
    request.templatePath = album.dir.filePath(u"none.xlsx"_s);
    EXPECT_EQ(AlbumExcel::run(request, album.dir.filePath(u"o.xlsx"_s), {})->message,
              AlbumExcel::FreeTemplateMissing);

    Workbook templ = Workbook::createBlank({u"Page"_s, u"Values"_s});
    templ.activate(2);
    const double values[] = {1, 1, 100, 100, 200, 0, 0, 0, 10, 0, 3, -2, 0, 0, 1, 0, 0};
    for (int i = 0; i < 17; ++i)
        templ.setNumber(i + 2, 3, values[i]);
    request.templatePath = album.dir.filePath(u"bad.xlsx"_s);
    templ.save(request.templatePath);
    const auto f = AlbumExcel::run(request, album.dir.filePath(u"o.xlsx"_s), {});
    ASSERT_TRUE(f);
    EXPECT_EQ(f->message, AlbumExcel::BadFreeValues);
    EXPECT_FALSE(QFileInfo::exists(album.dir.filePath(u"o.xlsx"_s)));

    EXPECT_TRUE(AlbumExcel::run(request, request.templatePath, {})) << "the template is never written over";
}

TEST(AlbumExcel, LegacyWorkbookIsConvertedOrRefused) {
    if (!hasOpenpyxl() || QStandardPaths::findExecutable(u"soffice"_s).isEmpty())
        GTEST_SKIP() << "LibreOffice or openpyxl is missing";
    Album album;
    album.add(1);
    const QString xlsx = album.dir.filePath(u"old.xlsx"_s);
    runPython(u"import openpyxl,sys\nwb=openpyxl.Workbook(); wb.active.title='P'\ns=wb.create_sheet('V')\n"
              u"for i,v in enumerate([1,1,100,100,200,0,0,0,10,0,3,2,0,0,1,0,0]): "
              u"s.cell(row=i+2,column=3,value=v)\n"
              u"wb.save(sys.argv[1])\n"_s,
              {xlsx});
    const QString work = album.dir.filePath(u"conv"_s);
    ASSERT_EQ(
        QProcess::execute(u"soffice"_s, {u"-env:UserInstallation=file://"_s + work, u"--headless"_s,
                                         u"--convert-to"_s, u"xls"_s, u"--outdir"_s, album.dir.path(), xlsx}),
        0);
    AlbumExcel::Request request = album.request(true);
    request.templatePath = album.dir.filePath(u"old.xls"_s);
    const QString out = album.dir.filePath(u"o.xlsx"_s);
    ASSERT_FALSE(AlbumExcel::run(request, out, {}));
    EXPECT_EQ(Workbook::open(out).cellText(3, 2), u"行1-1"_s);

    QFile fake(album.dir.filePath(u"fake.xls"_s));
    fake.open(QIODevice::WriteOnly);
    fake.write("garbage");
    fake.close();
    request.templatePath = fake.fileName();
    const auto f = AlbumExcel::run(request, album.dir.filePath(u"o2.xlsx"_s), {});
    ASSERT_TRUE(f);
    EXPECT_TRUE(f->message.contains(u"fake.xls"_s)) << f->message.toStdString();
    EXPECT_FALSE(QFileInfo::exists(album.dir.filePath(u"o2.xlsx"_s)));
}
