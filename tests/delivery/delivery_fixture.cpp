#include "delivery_fixture.h"

#include "delivery/photo_xml.h"
#include "support/test_files.h"
#include "test_paths.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString infoLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + u"\r\n"_s;
    return text;
}

AlbumRow photoRow(const QString& path, const QStringList& lines) {
    AlbumRow row;
    row.path = path;
    row.info = infoLines(lines);
    return row;
}

QByteArray photoBytes(int seed, int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = 2654435761u * quint32(seed + 1);
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = char(state >> 24);
    }
    return bytes;
}

namespace {

void put16(QByteArray& bytes, int value) {
    bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

void put32(QByteArray& bytes, quint32 value) {
    put16(bytes, int(value & 0xFFFF));
    put16(bytes, int(value >> 16));
}

// A little-endian TIFF block: IFD0 with DateTime and the Exif pointer, the Exif IFD with
// DateTimeOriginal.
QByteArray exifBlock(const QString& taken, const QString& modified) {
    const QByteArray original = taken.toLatin1() + '\0';
    const QByteArray changed = modified.toLatin1() + '\0';
    const int ifd0 = 8;
    const int ifd0Entries = modified.isEmpty() ? 1 : 2;
    const int exifIfd = ifd0 + 2 + 12 * ifd0Entries + 4;
    const int exifEntries = taken.isEmpty() ? 0 : 1;
    const int data = exifIfd + 2 + 12 * exifEntries + 4;
    QByteArray tiff("II*\0", 4);
    put32(tiff, ifd0);
    put16(tiff, ifd0Entries);
    if (!modified.isEmpty()) {
        put16(tiff, 0x0132), put16(tiff, 2), put32(tiff, quint32(changed.size()));
        put32(tiff, quint32(data + original.size() * exifEntries));
    }
    put16(tiff, 0x8769), put16(tiff, 4), put32(tiff, 1), put32(tiff, quint32(exifIfd));
    put32(tiff, 0);
    put16(tiff, exifEntries);
    if (!taken.isEmpty())
        put16(tiff, 0x9003), put16(tiff, 2), put32(tiff, quint32(original.size())),
            put32(tiff, quint32(data));
    put32(tiff, 0);
    if (!taken.isEmpty()) tiff += original;
    if (!modified.isEmpty()) tiff += changed;
    return QByteArray("Exif\0\0", 6) + tiff;
}

QByteArray segment(uchar marker, const QByteArray& body) {
    QByteArray bytes;
    bytes.append(char(0xFF)).append(char(marker));
    bytes.append(char((body.size() + 2) >> 8)).append(char((body.size() + 2) & 0xFF));
    return bytes + body;
}

} // namespace

QByteArray jpegBytes(QSize size, const QString& taken, const QString& modified) {
    QByteArray jpeg("\xFF\xD8", 2);
    jpeg += segment(0xE0, QByteArray("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14));
    if (!taken.isEmpty() || !modified.isEmpty()) jpeg += segment(0xE1, exifBlock(taken, modified));
    QByteArray frame;
    frame.append(char(8));
    frame.append(char(size.height() >> 8)).append(char(size.height() & 0xFF));
    frame.append(char(size.width() >> 8)).append(char(size.width() & 0xFF));
    frame.append(char(1)).append(char(1)).append(char(0x11)).append(char(0));
    jpeg += segment(0xC0, frame);
    return jpeg + QByteArray("\xFF\xD9", 2);
}

QByteArray pictureBytes(QSize size, const char* format) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0; x < size.width(); x += 8)
        painter.fillRect(x, 0, 8, size.height(), QColor::fromHsv((x * 7) % 360, 200, 220));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray encodedJpeg(QSize size) {
    return pictureBytes(size, "JPEG");
}

QString validIndex(PhotoStandard::Version version) {
    PhotoXml::Values values = PhotoXml::photoValues(1, FieldBuffer());
    values.insert(u"写真-大分類"_s, u"工事"_s);
    values.insert(u"写真区分"_s, u"施工状況写真"_s);
    values.insert(u"写真タイトル"_s, u"床掘"_s);
    values.insert(u"撮影年月日"_s, u"2024-06-01"_s);
    values.insert(u"代表写真"_s, u"0"_s);
    values.insert(u"提出頻度写真"_s, u"0"_s);
    return PhotoXml::header(version, PhotoStandard::defaultStandard(version)) +
           PhotoXml::photoBlock(version, values) + PhotoXml::footer();
}

std::optional<QString> xmllintErrors(const QString& xmlPath, const QString& dtdPath) {
    const QString xmllint = QStandardPaths::findExecutable(u"xmllint"_s);
    if (xmllint.isEmpty()) return std::nullopt;
    QProcess process;
    process.setWorkingDirectory(QFileInfo(xmlPath).absolutePath());
    process.start(xmllint, {u"--noout"_s, u"--dtdvalid"_s, dtdPath, xmlPath});
    process.waitForFinished(30000);
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return QString();
    return QString::fromUtf8(process.readAllStandardError());
}

QString shippedDtd() {
    return QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates/PHOTO03.DTD"_s;
}

void expectValidPhotoXml(const QString& xmlPath) {
    const auto ours = xmllintErrors(xmlPath, shippedDtd());
    if (!ours) {
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    }
    EXPECT_EQ(*ours, QString()) << xmlPath.toStdString();
    // Extra check against the reconstruction of the standard's own DTD.
    const QString reference = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/../shared/data/delivery/PHOTO03.DTD"_s;
    if (QFileInfo::exists(reference)) {
        EXPECT_EQ(*xmllintErrors(xmlPath, reference), QString()) << "reconstructed DTD";
    }
}

QString shippedDtd05() {
    return QStringLiteral(TOVENLA_SOURCE_DIR) + u"/templates/PHOTO05.DTD"_s;
}

void expectValidPhotoXml05(const QString& xmlPath) {
    const auto ours = xmllintErrors(xmlPath, shippedDtd05());
    if (!ours) {
        GTEST_SKIP() << "xmllint (libxml2-utils) is not installed";
    }
    EXPECT_EQ(*ours, QString()) << xmlPath.toStdString();
    // Extra check against the standard's own DTD kept with the shared project data.
    const QString reference = QStringLiteral(TOVENLA_SOURCE_DIR) + u"/../shared/data/delivery/PHOTO05.DTD"_s;
    if (QFileInfo::exists(reference)) {
        EXPECT_EQ(*xmllintErrors(xmlPath, reference), QString()) << "standard's DTD";
    }
}

QString DeliveryFolder::jpeg(const QString& name, QSize size, const QString& taken, const QString& modified) {
    const QString path = source.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeBytes(path, jpegBytes(size, taken, modified));
    return path;
}

QString DeliveryFolder::photo(const QString& name, int seed, int size) {
    const QString path = source.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeBytes(path, photoBytes(seed, size));
    return path;
}
