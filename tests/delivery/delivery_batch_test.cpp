#include "album/album_file.h"
#include "delivery_fixture.h"
#include "support/test_files.h"

#include <QDir>
#include <QProcess>

using namespace Qt::StringLiterals;

class DeliverCommandTest : public DeliveryFolder {
protected:
    int deliver(const QStringList& arguments) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"TOVENLA_HOME"_s, home.path());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TOVENLA_EXECUTABLE), QStringList{u"deliver"_s} + arguments);
        EXPECT_TRUE(program.waitForFinished(30000));
        output = QString::fromUtf8(program.readAllStandardOutput());
        errors = QString::fromUtf8(program.readAllStandardError());
        return program.exitCode();
    }

    QTemporaryDir home;
    QString output;
    QString errors;
};

TEST_F(DeliverCommandTest, WritesThePhotoFolderFromTheAlbumAndTheFurtherOnes) {
    const QString album = source.filePath(u"album.dat"_s);
    const QString more = source.filePath(u"more.dat"_s);
    AlbumFile::save(album, {photoRow(photo(u"a.jpg"_s, 1), {}), AlbumRow{{}, u"x\r\n"_s, {}, {}}});
    AlbumFile::save(more, {photoRow(photo(u"b.jpg"_s, 2), {})});
    ASSERT_EQ(deliver({album, more, u"--to"_s, out.path()}), 0) << errors.toStdString();
    EXPECT_TRUE(output.contains(u"2 枚"_s)) << output.toStdString();
    EXPECT_EQ(readBytes(photoFolder() + u"/PIC/P0000002.JPG"_s), photoBytes(2));
    expectValidPhotoXml(photoFolder() + u"/PHOTO.XML"_s);
}

TEST_F(DeliverCommandTest, FailsWithTheReasonsAndAStatusOnStandardError) {
    const QString album = source.filePath(u"album.dat"_s);
    AlbumFile::save(album, {photoRow(source.filePath(u"gone.jpg"_s), {})});
    EXPECT_EQ(deliver({album, u"--to"_s, out.path()}), 1);
    EXPECT_TRUE(errors.contains(u"写真ファイルが見つかりません（1 件）"_s)) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(photoFolder()));

    EXPECT_EQ(deliver({album}), 1);
    EXPECT_TRUE(errors.contains(u"deliver ALBUM.dat"_s)) << errors.toStdString();
}
