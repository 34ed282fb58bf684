#pragma once

#include "delivery/photo_standard.h"
#include "workspace/album_sheet.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

// Information text of a row: the given lines, each followed by CR LF.
QString infoLines(const QStringList& lines);
// A row with a photo path and information lines 1.. as given.
AlbumRow photoRow(const QString& path, const QStringList& lines = {});

// Distinct bytes per photo, so that a copy under the wrong serial shows.
QByteArray photoBytes(int seed, int size = 3000);

// A JPEG of headers only: Exif (DateTimeOriginal and DateTime when given, "CCYY:MM:DD hh:mm:ss")
// and a frame header of the given size. Enough for everything that reads headers.
QByteArray jpegBytes(QSize size, const QString& taken = {}, const QString& modified = {});

// A whole JPEG as Qt encodes it, picture data and end marker included.
QByteArray encodedJpeg(QSize size);
// Bytes of another picture format ("PNG", "BMP") of the given size.
QByteArray pictureBytes(QSize size, const char* format);

// A valid index of one photo, P0000001.JPG, for the version.
QString validIndex(PhotoStandard::Version version = PhotoStandard::Version::V05);

// xmllint's complaint about a file checked against a DTD; empty when valid, nothing when
// xmllint is not installed.
std::optional<QString> xmllintErrors(const QString& xmlPath, const QString& dtdPath);

// Validates against the DTD we ship and, as an extra check, the reconstruction kept with the
// shared project data when it is there.
void expectValidPhotoXml(const QString& xmlPath);
// The same for a version 05 index.
void expectValidPhotoXml05(const QString& xmlPath);

QString shippedDtd();
QString shippedDtd05();

// Keeps the records of running exports in a data folder of the test's own, for the test
// and the programs it starts.
struct DataHome {
    QTemporaryDir folder;
    QByteArray previous = qgetenv("XDG_DATA_HOME");
    DataHome() { qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit()); }
    ~DataHome() { previous.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", previous); }
};

class DeliveryFolder : public testing::Test {
protected:
    // Writes a photo file under the source folder and returns its path.
    QString photo(const QString& name, int seed, int size = 3000);
    // Writes a header-only JPEG under the source folder and returns its path.
    QString jpeg(const QString& name, QSize size = {1600, 1200}, const QString& taken = {},
                 const QString& modified = {});
    QString photoFolder() const { return out.filePath(QStringLiteral("PHOTO")); }

    DataHome dataHome;
    QTemporaryDir source;
    QTemporaryDir out;
};
