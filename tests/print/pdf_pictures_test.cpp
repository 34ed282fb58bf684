#include "print/pdf_pictures.h"
#include "print/picture_lookahead.h"
#include "print/preview_pictures.h"
#include "print/print_document.h"
#include "print/print_renderer.h"
#include "print_test_support.h"
#include "support/test_files.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QImage filled(QSize size, QColor color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// Three pages of photos from files, and a picture half transparent on the last.
void buildPages(PrintDocument& document, const QString& folder) {
    document.StartDoc();
    for (int page = 1; page <= 3; ++page) {
        if (page > 1) document.NewPage();
        for (int slot = 0; slot < 3; ++slot) {
            const QString name = u"p%1%2.jpg"_s.arg(page).arg(slot);
            const auto photo = PictureSource::fromFile(writeTestPhoto(folder, name, 800 + 40 * slot, 600));
            document.DrawPicture(photo, 1000, 1000 + 4000 * slot, 6000, 4500 + 4000 * slot);
        }
        document.Print(u"頁"_s + QString::number(page));
    }
    QImage half = filled(QSize(200, 100), Qt::red);
    for (int y = 0; y < 100; ++y)
        for (int x = 100; x < 200; ++x)
            half.setPixelColor(x, y, Qt::transparent);
    document.DrawPicture(PictureSource::fromImage(half), 7200, 1440, 10080, 2880);
}

QByteArray withoutDate(QByteArray pdf) {
    const qsizetype at = pdf.indexOf("/CreationDate");
    return at < 0 ? pdf : pdf.remove(at, pdf.indexOf('\n', at) - at);
}

} // namespace

TEST(PdfPicturesTest, PagesAreTheSameWhateverTheThreadsAndHoldOurJpegs) {
    QTemporaryDir dir;
    PrintDocument document;
    buildPages(document, dir.path());
    const QString one = dir.filePath(u"one.pdf"_s);
    const QString three = dir.filePath(u"three.pdf"_s);
    writePdf(document, one, 1, 3, 1);
    writePdf(document, three, 1, 3, 3);
    EXPECT_EQ(withoutDate(readBytes(one)), withoutDate(readBytes(three)));

    // Each picture at 300 dpi of its frame or its own size when smaller, JPEG as we encoded it.
    const QByteArray pdf = readBytes(one);
    const QImage first =
        decodePicture(*std::get<PictureOp>(document.page(1).at(0)).picture, QSize(1042, 730));
    EXPECT_TRUE(pdf.contains(PdfPictures::encode(first)));
    const auto list = pdfImageList(one);
    if (!list) GTEST_SKIP() << "poppler-utils are not installed";
    EXPECT_EQ(list->count(u" jpeg "_s), 10) << list->toStdString();
    EXPECT_TRUE(list->contains(QRegularExpression(u"1 +0 image +800 +600 "_s))) << list->toStdString();
    EXPECT_TRUE(list->contains(QRegularExpression(u"3 +9 image +200 +100 "_s))) << list->toStdString();
    EXPECT_EQ(pdfPageCount(one), 3);
    EXPECT_TRUE(pdfText(one)->contains(u"頁3"_s));

    // Transparency is laid on the paper's white; the photos keep their colour.
    const QImage page = *pdfPageImage(one, 3, 72);
    EXPECT_LT(qAbs(page.pixelColor(370, 100).red() - 255), 8);
    EXPECT_LT(page.pixelColor(370, 100).green(), 24);
    EXPECT_EQ(page.pixelColor(450, 100), QColor(Qt::white));
    const QColor photo = page.pixelColor(150, 110);
    EXPECT_LT(qAbs(photo.red() - 90) + qAbs(photo.green() - 140) + qAbs(photo.blue() - 200), 12);
}

TEST(PdfPicturesTest, APhotoGoneSinceLayoutLeavesItsFrameEmptyAndTheFileWhole) {
    QTemporaryDir dir;
    PrintDocument document;
    buildPages(document, dir.path());
    QFile::remove(dir.filePath(u"p21.jpg"_s));
    const QString pdf = dir.filePath(u"out.pdf"_s);
    writePdf(document, pdf, 2, 3);
    const auto list = pdfImageList(pdf);
    if (!list) GTEST_SKIP() << "poppler-utils are not installed";
    EXPECT_EQ(list->count(u" jpeg "_s), 6) << list->toStdString();
    EXPECT_EQ(pdfPageCount(pdf), 2);
}

TEST(PdfPicturesTest, PagesAreToldAndAStopWritesNothing) {
    QTemporaryDir dir;
    PrintDocument document;
    buildPages(document, dir.path());
    const QString pdf = dir.filePath(u"out.pdf"_s);
    writeBytes(pdf, "earlier");

    std::atomic_bool stop = false;
    QList<ProgressStep> told;
    const Progress stopAfterFirst(
        [&](const ProgressStep& step) {
            told << step;
            stop = step.done == 1;
        },
        &stop);
    EXPECT_THROW(writePdf(document, pdf, 1, 3, 2, stopAfterFirst), Cancelled);
    EXPECT_EQ(readBytes(pdf), "earlier");
    ASSERT_EQ(told.size(), 2);
    EXPECT_EQ(told[1].done, 1);

    stop = false;
    told.clear();
    writePdf(document, pdf, 2, 3, 2, Progress([&](const ProgressStep& step) { told << step; }, &stop));
    EXPECT_EQ(pdfPageCount(pdf).value_or(2), 2);
    ASSERT_EQ(told.size(), 3);
    for (qsizetype i = 0; i < told.size(); ++i) {
        EXPECT_EQ(told[i].activity, PdfActivity);
        EXPECT_EQ(told[i].done, i);
        EXPECT_EQ(told[i].total, 2);
    }
}

TEST(PdfPicturesTest, EmbeddingRefusesFilesNotDrawnWithStandIns) {
    const PdfPictures::Encoded picture{QSize(2, 2), PdfPictures::encode(filled(QSize(2, 2), Qt::blue))};
    EXPECT_FALSE(PdfPictures::embed("not a pdf", {picture}));
    EXPECT_FALSE(PdfPictures::embed("%PDF-1.4\nstartxref\n999999\n%%EOF\n", {}));

    // A PDF drawn with a real image, or with fewer stand-ins than pictures, is not ours to patch.
    QTemporaryDir dir;
    PrintDocument document;
    document.StartDoc();
    document.DrawPicture(PictureSource::fromImage(filled(QSize(30, 20), Qt::green)), 0, 0, 1440, 960);
    const QString path = dir.filePath(u"x.pdf"_s);
    writePdf(document, path, 1, 1);
    const QByteArray written = readBytes(path);
    EXPECT_FALSE(PdfPictures::embed(written, {picture}));
    EXPECT_FALSE(PdfPictures::embed(written, {}));
}

TEST(PictureLookaheadTest, ResultsComeInOrderAndNoMoreThanTheBoundAhead) {
    QList<PagePicture> jobs;
    for (int i = 1; i <= 40; ++i)
        jobs.append({nullptr, QSize(i, 1)});
    std::atomic<int> started{0};
    const auto prepare = [&started](const PagePicture& job) {
        ++started;
        std::this_thread::sleep_for(std::chrono::microseconds(300 * (job.pixels.width() % 4)));
        return ReadyPicture{{}, job.pixels, {}, {}};
    };
    PictureLookahead lookahead(jobs, prepare, 3, 5);
    for (int taken = 1; taken <= 40; ++taken) {
        EXPECT_EQ(lookahead.next().size.width(), taken);
        EXPECT_LE(started.load(), taken + 5);
    }
    EXPECT_TRUE(lookahead.next().size.isEmpty());

    // Left half way (a failed page), the work under way is waited for and the rest dropped.
    started = 0;
    {
        PictureLookahead abandoned(jobs, prepare, 2, 4);
        abandoned.next();
    }
    EXPECT_LE(started.load(), 5);
}

TEST(PreviewPicturesTest, TheNeighbouringPagesAreReadyBeforeTheFlip) {
    QTemporaryDir dir;
    PrintDocument document;
    buildPages(document, dir.path());
    const double dpi = 96;
    PreviewPictures pictures;
    pictures.keepAround(document, 2, dpi);
    // Pages 1, 2 and 3 are read ahead and kept: taking their files away changes nothing.
    const auto pictureOf = [&](int page, int slot) {
        const PictureOp op = std::get<PictureOp>(document.page(page).at(slot));
        return pictures.picture(*op.picture, picturePixels(op, dpi));
    };
    QList<QImage> ready;
    for (int page = 1; page <= 3; ++page)
        for (int slot = 0; slot < 3; ++slot)
            ready.append(pictureOf(page, slot));
    for (int page = 1; page <= 3; ++page)
        for (int slot = 0; slot < 3; ++slot)
            QFile::remove(dir.filePath(u"p%1%2.jpg"_s.arg(page).arg(slot)));
    for (int page = 1; page <= 3; ++page)
        for (int slot = 0; slot < 3; ++slot)
            EXPECT_EQ(pictureOf(page, slot), ready.at((page - 1) * 3 + slot));
    EXPECT_EQ(ready.at(3).size(), QSize(312, 234));

    // Flipping to page 3 lets page 1 go: its photo is read again, and now it is gone.
    pictures.keepAround(document, 3, dpi);
    EXPECT_FALSE(pictureOf(2, 0).isNull());
    EXPECT_TRUE(pictureOf(1, 2).isNull());
}
