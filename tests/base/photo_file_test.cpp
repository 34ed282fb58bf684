#include "base/output_guard.h"
#include "base/photo_file.h"
#include "print/print_document.h"
#include "support/test_files.h"
#include "viewer/thumbnailer.h"
#include "xlsx/picture_prep.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PhotoFileTest : public testing::Test {
protected:
    QString make(const QString& relative) {
        QDir().mkpath(QFileInfo(path(relative)).path());
        writeBytes(path(relative), "x");
        return path(relative);
    }
    QString path(const QString& relative) const { return dir.filePath(relative); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PhotoFileTest, ANameThatDiffersInLetterCaseOnlyIsTakenWhenItIsTheOnlyOne) {
    make(u"P002_近.jpg"_s);
    make(u"Sub/写真/Ｐ003.JPG"_s);
    make(u"twice/a.jpg"_s);
    make(u"twice/A.JPG"_s);
    QDir().mkpath(path(u"folder/d.jpg"_s));
    make(u"folders/X/1.jpg"_s);
    make(u"folders/x/2.jpg"_s);
    make(u"amb/ab/1.jpg"_s);
    make(u"amb/AB/1.jpg"_s);
    struct Case {
        QString asked;
        QString found; // empty: the path comes back as asked
    };
    const QList<Case> cases = {
        {u"P002_近.JPG"_s, u"P002_近.jpg"_s},
        {u"P002_近.jpg"_s, u"P002_近.jpg"_s},
        {u"SUB/写真/ｐ003.jpg"_s, u"Sub/写真/Ｐ003.JPG"_s}, // folders too, full-width letters too
        {u"twice/a.jpg"_s, u"twice/a.jpg"_s},               // the exact name wins
        {u"twice/a.Jpg"_s, {}},                             // two alike: neither
        {u"FOLDERS/x/2.jpg"_s, u"folders/x/2.jpg"_s},       // a name as written goes first
        {u"folders/X/2.jpg"_s, {}},                         // and is the only folder searched
        {u"amb/Ab/1.jpg"_s, {}},                            // two folders alike: neither
        {u"folder/D.JPG"_s, {}},                            // a folder is no photo
        {u"P003.jpg"_s, {}},
        {u"gone/P002_近.JPG"_s, {}},
    };
    for (const Case& c : cases) {
        const QString asked = path(c.asked);
        EXPECT_EQ(PhotoFile::resolve(asked), c.found.isEmpty() ? asked : path(c.found))
            << c.asked.toStdString();
    }
    // A check of a whole list finds the same photos from one listing of each folder.
    PhotoFile::Resolver check;
    for (const Case& c : cases) {
        const QString found = c.found.isEmpty() && QFileInfo(path(c.asked)).isFile() ? c.asked : c.found;
        EXPECT_EQ(check.findFile(path(c.asked)), found.isEmpty() ? QString() : path(found))
            << c.asked.toStdString();
    }
    PhotoFile::Resolver many;
    EXPECT_EQ(many.resolve(path(u"p002_近.jpg"_s)), path(u"P002_近.jpg"_s));
    EXPECT_EQ(many.resolve(path(u"sub/写真/Ｐ003.jpg"_s)), path(u"Sub/写真/Ｐ003.JPG"_s));
    // Nothing is looked up for what names no folder here.
    for (const QString& other : {QString(), u"P002_近.JPG"_s, u"C:\\photos\\P002_近.JPG"_s})
        EXPECT_EQ(PhotoFile::resolve(other), other);
}

// An album made on Windows names its photos as Windows spells them; every reader opens them.
TEST_F(PhotoFileTest, AlbumPhotosOpenUnderTheNameTheAlbumGives) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(path(u"p001.jpg"_s), "JPEG"));
    const QString asNamed = path(u"P001.JPG"_s);

    EXPECT_EQ(Thumbnailer::decode(asNamed, QSize(20, 20)).size(), QSize(20, 15));
    Thumbnailer thumbnails(SharedThumbnailCache(path(u"cache"_s)), 1 << 20);
    EXPECT_FALSE(thumbnails.make(asNamed, QSize(20, 20)).image.isNull());
    EXPECT_EQ(PictureSource::fromFile(asNamed)->size, QSize(40, 30));
    EXPECT_TRUE(preparePicture({asNamed, QSize(100, 100)}).error.isEmpty());
    OutputGuard guard;
    guard.keep(asNamed, OutputGuard::Photo);
    EXPECT_TRUE(guard.match(path(u"p001.jpg"_s)).has_value());
}
