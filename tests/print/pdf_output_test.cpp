#include "album/album_file.h"
#include "base/app_error.h"
#include "base/output_folder.h"
#include "print/album_pages.h"
#include "print/print_document.h"
#include "print/print_renderer.h"
#include "print_test_support.h"
#include "support/batch_run.h"
#include "support/test_files.h"
#include "test_paths.h"
#include "workspace/settings_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class PdfOutputTest : public testing::Test {
protected:
    int run(const QStringList& arguments) { return runCommand(arguments, dir.path(), outText, errText); }
    void writeSettings(const Settings& settings) {
        SettingsFile::WriteSettingsFile(dir.path() + u"/tovenla.ini"_s, settings);
    }

    QTemporaryDir dir;
    QString outText;
    QString errText;
};

TEST_F(PdfOutputTest, AlbumPdfHoldsEveryPageAndItsInformationText) {
    const QString photo = writeTestPhoto(dir.path(), u"p.jpg"_s, 1600, 1200);
    QList<AlbumRow> rows;
    for (int i = 1; i <= 4; ++i)
        rows.append(AlbumRow{{}, u"測点No."_s + QString::number(i) + u"\r\n"_s, {}, photo});
    const QString album = dir.path() + u"/album.dat"_s;
    AlbumFile::save(album, rows);
    const QString pdf = dir.path() + u"/out.pdf"_s;

    ASSERT_EQ(run({u"pdf"_s, album, pdf}), 0) << errText.toStdString();
    EXPECT_TRUE(outText.contains(u"2 ページ"_s));
    const auto pages = pdfPageCount(pdf);
    if (!pages) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_EQ(*pages, 2);
    const QString text = *pdfText(pdf);
    EXPECT_TRUE(text.contains(u"測点No.1"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"測点No.4"_s));
    EXPECT_LT(QFile(pdf).size(), 4 * 400 * 1024);
}

TEST_F(PdfOutputTest, AlbumPdfReportsAFailingRowAndWritesNothing) {
    QList<AlbumRow> rows{AlbumRow{{}, u"a\r\n"_s, {}, dir.path() + u"/gone.jpg"_s}};
    const QString album = dir.path() + u"/album.dat"_s;
    AlbumFile::save(album, rows);
    const QString pdf = dir.path() + u"/out.pdf"_s;
    EXPECT_EQ(run({u"pdf"_s, album, pdf}), 1);
    EXPECT_TRUE(errText.contains(u"1 行目"_s)) << errText.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    Settings cramped = Settings::defaults();
    cramped.setItem(SettingItem::PhotoHeightMm, SettingValue::number(100));
    writeSettings(cramped);
    EXPECT_EQ(run({u"pdf"_s, album, pdf}), 1);
    EXPECT_TRUE(errText.contains(u"配置できません。"_s));
}

TEST_F(PdfOutputTest, ABadPhotoIsNamedWithItsRowAndAJapaneseReasonOnce) {
    const QString photo = writeTestPhoto(dir.path(), u"p.jpg"_s, 400, 300);
    const QString notAPicture = dir.path() + u"/IMG_0001.JPG"_s;
    writeBytes(notAPicture, "not a picture");
    QList<AlbumRow> rows(3, AlbumRow{{}, u"a\r\n"_s, {}, photo});
    rows.append(AlbumRow{{}, u"b\r\n"_s, {}, dir.path() + u"/IMG_9999.JPG"_s});
    const QString album = dir.path() + u"/album.dat"_s;
    AlbumFile::save(album, rows);
    const QString pdf = dir.path() + u"/out.pdf"_s;
    EXPECT_EQ(run({u"pdf"_s, album, pdf}), 1);
    EXPECT_TRUE(errText.startsWith(u"4 行目: 画像を読めません。 "_s + dir.path() +
                                   u"/IMG_9999.JPG ファイルが見つかりません"_s))
        << errText.toStdString();
    EXPECT_FALSE(errText.contains(u": :"_s));
    EXPECT_FALSE(errText.contains(u"not found"_s, Qt::CaseInsensitive));

    rows[3].path = notAPicture;
    AlbumFile::save(album, rows);
    EXPECT_EQ(run({u"pdf"_s, album, pdf}), 1);
    EXPECT_TRUE(errText.contains(u"IMG_0001.JPG 画像ファイルではないか、対応していない形式です"_s))
        << errText.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

// Sizes typed with the input method on are the sizes they show; a size of 0 would give pages of
// information boxes without photos.
TEST_F(PdfOutputTest, FullWidthSizesCountAndAFrameOfSizeZeroIsRefused) {
    const QString photo = writeTestPhoto(dir.path(), u"p.jpg"_s, 400, 300);
    const QString album = dir.path() + u"/album.dat"_s;
    AlbumFile::save(album, {AlbumRow{{}, u"a\r\n"_s, {}, photo}});
    const QString pdf = dir.path() + u"/out.pdf"_s;
    Settings settings = Settings::defaults();
    settings.setItem(SettingItem::PhotoWidthMm, SettingValue::string(u"１０６"_s));
    settings.setItem(SettingItem::MarginTopMm, SettingValue::string(u"１０"_s));
    writeSettings(settings);
    ASSERT_EQ(run({u"pdf"_s, album, pdf}), 0) << errText.toStdString();
    const auto title = pdfInfo(pdf, u"Title"_s);
    if (!title) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_EQ(*title, u"写真長印刷"_s);

    for (const QString& size : {u"0"_s, u"abc"_s, u"0.4"_s, u"－５"_s}) {
        QFile::remove(pdf);
        settings.setItem(SettingItem::PhotoHeightMm, SettingValue::string(size));
        writeSettings(settings);
        EXPECT_EQ(run({u"pdf"_s, album, pdf}), 1) << size.toStdString();
        EXPECT_EQ(errText, AlbumPages::NoFrame + u'\n');
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

TEST_F(PdfOutputTest, LabelPdfIsOnePageWithBothLabels) {
    Settings settings = Settings::defaults();
    settings.setText(130, u"1"_s);
    settings.setText(131, u"98765"_s);
    settings.setText(133, u"2019-05-01"_s);
    writeSettings(settings);
    const QString pdf = dir.path() + u"/label.pdf"_s;
    ASSERT_EQ(run({u"label-pdf"_s, pdf}), 0) << errText.toStdString();
    const auto pages = pdfPageCount(pdf);
    if (!pages) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    EXPECT_EQ(*pages, 1);
    const QString text = *pdfText(pdf);
    EXPECT_EQ(text.count(u"CORINS登録番号 98765"_s), 2) << text.toStdString();
    EXPECT_EQ(text.count(u"令和元年5月"_s), 2);
}

TEST(PrintRendererTest, PicturesAreDecodedNoFinerThanTheOutputNeeds) {
    QTemporaryDir dir;
    const QString photo = writeTestPhoto(dir.path(), u"big.jpg"_s, 2000, 1500);
    const auto source = PictureSource::fromFile(photo);
    EXPECT_EQ(source->size, QSize(2000, 1500));
    EXPECT_EQ(decodePicture(*source, QSize(400, 400)).size(), QSize(400, 300));
    EXPECT_EQ(decodePicture(*source, QSize(4000, 4000)).size(), QSize(2000, 1500));

    // A page drawn at 72 dpi: a 1 inch square picture fills 72 pixels.
    PrintDocument document;
    document.StartDoc();
    document.DrawPicture(PictureSource::fromImage([] {
                             QImage red(10, 10, QImage::Format_RGB32);
                             red.fill(Qt::red);
                             return red;
                         }()),
                         1440, 1440, 2880, 2880);
    QImage page(300, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    renderPage(document, 1, painter, 72);
    painter.end();
    EXPECT_EQ(page.pixelColor(100, 100), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(150, 100), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(60, 100), QColor(Qt::white));
}

TEST(PrintRendererTest, MissingPictureFileIsAnError) {
    EXPECT_THROW(PictureSource::fromFile(u"/nonexistent/x.jpg"_s), AppError);
}

// The image decoders' own warnings are the program's business, not the user's: a photo cut
// short still prints (as far as it goes) without libjpeg's chatter on the terminal.
TEST(PdfOutputProgram, DecoderWarningsStayOffTheTerminal) {
    QTemporaryDir dir;
    QImage noise(800, 600, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, qRgb((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "JPG", 90);
    // Cut well inside the picture's data: the header still reads, the rest is missing.
    const QString photo = dir.path() + u"/cut.jpg"_s;
    writeBytes(photo, buffer.data().left(buffer.data().size() * 3 / 5));
    const QString album = dir.path() + u"/album.dat"_s;
    AlbumFile::save(album, {AlbumRow{{}, u"a\r\n"_s, {}, photo}});

    const auto run = [&](const QString& rules) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TOVENLA_HOME"_s, dir.path());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"QT_LOGGING_RULES"_s, rules);
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TOVENLA_EXECUTABLE), {u"pdf"_s, album, dir.path() + u"/out.pdf"_s});
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0);
        return QString::fromLocal8Bit(program.readAllStandardError());
    };
    // The photo really makes the decoder warn when its category is let through...
    EXPECT_TRUE(run(u"qt.gui.imageio*=true"_s).contains(u"qt.gui.imageio"_s));
    // ...and by itself the program keeps it quiet.
    const QString err = run(QString());
    EXPECT_FALSE(err.contains(u"qt.gui.imageio"_s)) << err.toStdString();
    EXPECT_FALSE(err.contains(u"JPEG"_s)) << err.toStdString();
}

namespace {

// A PNG whose header reads but whose picture data is damaged: it is laid out, then cannot be
// drawn, as a photo on a card pulled while the pages are made.
QString writeDamagedPng(const QString& folder) {
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QByteArray bytes = buffer.data();
    const qsizetype data = bytes.indexOf("IDAT") + 4;
    for (qsizetype i = data; i < data + 16; ++i)
        bytes[i] = char(0x5a);
    const QString path = folder + u"/damaged.png"_s;
    writeBytes(path, bytes);
    return path;
}

} // namespace

TEST_F(PdfOutputTest, APhotoThatCannotBeDrawnIsNamedByRowTheFrameLeftEmptyAndTheStatusIsThree) {
    const QString photo = writeTestPhoto(dir.path(), u"p.jpg"_s, 400, 300);
    const QString damaged = writeDamagedPng(dir.path());
    const QString album = dir.path() + u"/album.dat"_s;
    AlbumFile::save(album, {AlbumRow{{}, u"a\r\n"_s, {}, photo}, AlbumRow{{}, u"b\r\n"_s, {}, damaged}});
    const QString pdf = dir.path() + u"/out.pdf"_s;
    EXPECT_EQ(run({u"pdf"_s, album, pdf}), 3);
    EXPECT_EQ(outText, pdf + u": 1 ページ\n"_s);
    EXPECT_EQ(errText, u"2 行目: 画像を読めません。 "_s + damaged + u" 画像のデータが壊れています\n"_s);
    const auto images = pdfImageList(pdf);
    if (!images) GTEST_SKIP() << "pdfimages (poppler-utils) is not installed";
    EXPECT_EQ(images->count(u" jpeg "_s), 1) << images->toStdString();
}

// Photos are read as their pages are drawn, long after the pages were laid out: those gone by
// then are told by row, and the folder the PDF goes to is the one the run began with or none.
TEST(PdfOutputRun, PhotosGoneMidRunAreToldByRowAndAFolderGoneStopsTheRun) {
    QTemporaryDir dir;
    PrintDocument document;
    document.StartDoc();
    QStringList photos;
    for (int row = 1; row <= 8; ++row) {
        if (row > 1) document.NewPage();
        photos << writeTestPhoto(dir.path(), u"p%1.jpg"_s.arg(row), 400, 300);
        document.DrawPicture(PictureSource::fromFile(photos.last(), row), 1440, 1440, 4320, 3600);
    }
    const QString folder = dir.path() + u"/stick"_s;
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString pdf = folder + u"/out.pdf"_s;
    // One worker prepares four pictures ahead: at the first page, those of pages 6 to 8 are not begun.
    const auto atPage = [](int page, const std::function<void()>& change) {
        return Progress(
            [=](const ProgressStep& step) {
                if (step.done == page - 1 && step.done < step.total) change();
            },
            nullptr);
    };
    const QList<UnreadPicture> unread = writePdf(document, pdf, 1, 8, 1, atPage(1, [&] {
                                                     QFile::remove(photos[5]);
                                                     writeBytes(photos[6], "no longer a picture");
                                                     QFile::remove(photos[7]);
                                                 }));
    ASSERT_EQ(unread.size(), 3);
    EXPECT_EQ(unread[0].row, 6);
    EXPECT_EQ(unread[0].reason, u"ファイルが見つかりません"_s);
    EXPECT_EQ(unread[1].reason, u"画像ファイルではないか、対応していない形式です"_s);
    EXPECT_EQ(unread[2].row, 8);
    EXPECT_TRUE(unreadText(unread).contains(u"\n行 6～8\n\n6 行目: 画像を読めません。\n"_s + photos[5]));
    EXPECT_TRUE(QFile::exists(pdf));

    ASSERT_TRUE(QFile::remove(pdf));
    EXPECT_THROW(writePdf(document, pdf, 1, 5, 1,
                          atPage(3,
                                 [&] {
                                     QDir().rename(folder, dir.path() + u"/unmounted"_s);
                                     QDir().mkdir(folder);
                                 })),
                 OutputFolderGone);
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_TRUE(QDir(dir.path() + u"/unmounted"_s).isEmpty());
}
