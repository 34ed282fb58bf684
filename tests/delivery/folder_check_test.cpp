#include "base/ansi_codec.h"
#include "delivery/folder_check.h"
#include "delivery/photo_header.h"
#include "delivery_fixture.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <functional>

using namespace Qt::StringLiterals;

class FolderCheckTest : public DeliveryFolder {
protected:
    // A PHOTO folder that passes: the index of one photo, its DTD and the photo.
    void makeGood() {
        for (const QString& name : QDir(out.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
            QDir(out.filePath(name)).removeRecursively();
        QDir().mkpath(photoFolder() + u"/PIC"_s);
        QDir().mkpath(photoFolder() + u"/DRA"_s);
        writeBytes(photoFolder() + u"/PHOTO.XML"_s, AnsiCodec::encode(validIndex()).bytes);
        writeBytes(photoFolder() + u"/PHOTO05.DTD"_s, readBytes(shippedDtd05()));
        writeBytes(photoFolder() + u"/PIC/P0000001.JPG"_s, encodedJpeg({1600, 1200}));
    }
    void rename(const QString& from, const QString& to) {
        ASSERT_TRUE(QFile::rename(out.filePath(from), out.filePath(to))) << from.toStdString();
    }
    QStringList codes(const QList<Finding>& findings) {
        QStringList result;
        for (const Finding& f : findings)
            result << f.code + u':' + f.element;
        return result;
    }
};

// Each rule of names and contents broken alone gives one finding.
TEST_F(FolderCheckTest, NamesAreUpperCaseAndFilesHoldWhatTheirNamesSay) {
    makeGood();
    EXPECT_EQ(codes(FolderCheck::check(out.path()).findings), QStringList());

    const QByteArray jpeg = encodedJpeg({1600, 1200});
    struct Damage {
        const char* name;
        std::function<void()> apply;
        QString expected;
    };
    const QList<Damage> damages = {
        {"PIC in lower case", [&] { rename(u"PHOTO/PIC"_s, u"PHOTO/pic"_s); }, u"name:"_s},
        {"index in lower case", [&] { rename(u"PHOTO/PHOTO.XML"_s, u"PHOTO/photo.xml"_s); }, u"name:"_s},
        {"PHOTO in lower case", [&] { rename(u"PHOTO"_s, u"photo"_s); }, u"name:"_s},
        {"photo in lower case", [&] { rename(u"PHOTO/PIC/P0000001.JPG"_s, u"PHOTO/PIC/p0000001.jpg"_s); },
         u"name:写真ファイル名"_s},
        // Windows sees one file; the upper-case one, a good JPEG, is the one read.
        {"names that differ in case",
         [&] {
             writeBytes(photoFolder() + u"/PIC/p0000001.jpg"_s, pictureBytes({1600, 1200}, "PNG"));
         },
         u"name:"_s},
        {"PNG under .JPG",
         [&] {
             writeBytes(photoFolder() + u"/PIC/P0000001.JPG"_s, pictureBytes({1600, 1200}, "PNG"));
         },
         u"format:写真ファイル名"_s},
        {"UTF-8 index, declared so",
         [&] {
             QString text = validIndex();
             text.replace(u"encoding=\"Shift_JIS\""_s, u"encoding=\"UTF-8\""_s);
             writeBytes(photoFolder() + u"/PHOTO.XML"_s, text.toUtf8());
         },
         u"encoding:"_s},
        {"cut short",
         [&] { writeBytes(photoFolder() + u"/PIC/P0000001.JPG"_s, jpeg.first(jpeg.size() / 2)); },
         u"damaged:写真ファイル名"_s},
    };
    for (const Damage& damage : damages) {
        makeGood();
        damage.apply();
        EXPECT_EQ(codes(FolderCheck::check(out.path()).findings), QStringList{damage.expected})
            << damage.name;
    }
}

TEST_F(FolderCheckTest, HeadersTellTheFormatAndWhetherTheDataEnds) {
    const QByteArray jpeg = encodedJpeg({640, 480});
    const auto headerOf = [&](const QByteArray& bytes) {
        writeBytes(source.filePath(u"x.jpg"_s), bytes);
        return PhotoHeaders::read(source.filePath(u"x.jpg"_s));
    };
    const PhotoHeader whole = headerOf(jpeg);
    EXPECT_TRUE(whole.jpeg && whole.complete);
    EXPECT_EQ(whole.size, QSize(640, 480));
    // Data a camera appends after the picture is followed past, through every scan of a
    // progressive JPEG too; a file cut anywhere is found.
    EXPECT_TRUE(headerOf(jpeg + QByteArray(5000, '\0') + "trailer").complete);
    QByteArray progressive;
    QBuffer buffer(&progressive);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "JPEG");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(QImage::fromData(jpeg)));
    EXPECT_TRUE(headerOf(progressive + "trailer").complete);
    EXPECT_FALSE(headerOf(progressive.first(progressive.size() - 40)).complete);
    for (const qsizetype cut : {qsizetype(2), jpeg.size() / 3, jpeg.size() - 3})
        EXPECT_FALSE(headerOf(jpeg.first(jpeg.size() - cut)).complete) << cut;
    EXPECT_EQ(headerOf(pictureBytes({8, 8}, "PNG")).format, PhotoHeader::Format::Png);
    EXPECT_EQ(headerOf(pictureBytes({8, 8}, "BMP")).format, PhotoHeader::Format::Bmp);
    EXPECT_EQ(headerOf("II*\0rest"_ba).format, PhotoHeader::Format::Tiff);
    EXPECT_FALSE(headerOf(pictureBytes({8, 8}, "PNG")).jpeg);
}
