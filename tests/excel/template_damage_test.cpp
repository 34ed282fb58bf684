// Templates that cannot be used whole: each refusal names the template and what is wrong with
// it, and nothing is written.
#include "excel/album_excel.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// An OLE compound file of one directory sector holding these streams, as Office stores an
// encrypted package or an old binary book.
QByteArray compoundFile(const QStringList& streams) {
    QByteArray file(512 * 3, '\0');
    const auto put = [&](qsizetype at, quint32 value) { qToLittleEndian(value, file.data() + at); };
    file.replace(0, 8, QByteArray::fromHex("D0CF11E0A1B11AE1"));
    qToLittleEndian<quint16>(0x3E, file.data() + 0x18);
    qToLittleEndian<quint16>(3, file.data() + 0x1A);
    qToLittleEndian<quint16>(0xFFFE, file.data() + 0x1C);
    qToLittleEndian<quint16>(9, file.data() + 0x1E);
    qToLittleEndian<quint16>(6, file.data() + 0x20);
    put(0x2C, 1); // one allocation table sector: sector 0
    put(0x30, 1); // the directory: sector 1
    put(0x38, 4096);
    put(0x3C, 0xFFFFFFFE);
    put(0x44, 0xFFFFFFFE);
    put(0x4C, 0);
    for (int i = 1; i < 109; ++i)
        put(0x4C + 4 * i, 0xFFFFFFFF);
    for (int i = 0; i < 128; ++i)
        put(512 + 4 * i, i == 0 ? 0xFFFFFFFD : i == 1 ? 0xFFFFFFFE : 0xFFFFFFFF);
    const QStringList entries = QStringList{u"Root Entry"_s} + streams;
    for (int e = 0; e < entries.size() && e < 4; ++e) {
        const qsizetype at = 1024 + 128 * e;
        for (int i = 0; i < entries[e].size(); ++i)
            qToLittleEndian<quint16>(entries[e].at(i).unicode(), file.data() + at + 2 * i);
        qToLittleEndian<quint16>(quint16(2 * entries[e].size() + 2), file.data() + at + 0x40);
        file[at + 0x42] = char(e == 0 ? 5 : 2);
    }
    return file;
}

struct Album {
    QTemporaryDir dir;
    AlbumExcel::Request request;
    QByteArray good;

    Album() {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::green);
        image.save(dir.filePath(u"p.jpg"_s));
        request.rows << AlbumRow{{}, u"一行目\r\n"_s, {}, dir.filePath(u"p.jpg"_s)};
        request.free = true;
        request.programFolder = dir.path();
        Workbook book = Workbook::createBlank({u"Page"_s, u"Values"_s});
        book.activate(2);
        const double values[] = {1, 1, 100, 150, 300, 0, 0, 10, 20, 10, 2, 1, 1, 1, 0, 0, 0};
        for (int i = 0; i < 17; ++i)
            book.setNumber(i + 2, 3, values[i]);
        good = book.toBytes();
    }
    // The run's refusal of the template, with the output checked to be unwritten.
    QString refusal(const QString& name, const QByteArray& bytes) {
        request.templatePath = dir.filePath(name);
        QFile file(request.templatePath);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const QString out = dir.filePath(u"out.xlsx"_s);
        const auto failure = AlbumExcel::run(request, out, {});
        EXPECT_EQ(QFile::remove(out), !failure) << name.toStdString() << ": written on failure";
        return failure ? failure->message : QString();
    }
    QByteArray changed(const std::function<void(XlsxPackage&)>& change) const {
        XlsxPackage package = XlsxPackage::fromZip(good, u"good"_s);
        change(package);
        return package.toZip();
    }
};

} // namespace

TEST(TemplateDamage, EveryBrokenPartIsNamedWithTheTemplateBeforeAnythingIsWritten) {
    Album album;
    ASSERT_EQ(album.refusal(u"Free.xlsx"_s, album.good), QString());
    const auto cut = [](const std::string& part) {
        return [part](XlsxPackage& p) { p.setBytes(part, p.bytes(part).left(p.bytes(part).size() / 2)); };
    };
    struct Case {
        QString name;
        QByteArray bytes;
        QString reason;
    };
    const Case cases[] = {
        {u"rels.xlsx"_s, album.changed(cut("_rels/.rels")), u"ブックの部品が壊れています: _rels/.rels"_s},
        {u"types.xlsx"_s, album.changed(cut("[Content_Types].xml")),
         u"ブックの部品が壊れています: [Content_Types].xml"_s},
        {u"theme.xlsx"_s, album.changed([](XlsxPackage& p) {
             p.setBytes("xl/theme/theme1.xml", "<a:theme xmlns:a=\"urn:a\"><a:themeElements>");
         }),
         u"ブックの部品が壊れています: xl/theme/theme1.xml"_s},
        {u"no-rels.xlsx"_s, album.changed([](XlsxPackage& p) { p.remove("xl/_rels/workbook.xml.rels"); }),
         u"ブックの部品がありません: xl/_rels/workbook.xml.rels"_s},
        {u"locked.xlsx"_s, compoundFile({u"EncryptionInfo"_s, u"EncryptedPackage"_s}),
         u"暗号化されています。"_s},
    };
    for (const Case& c : cases) {
        const QString message = album.refusal(c.name, c.bytes);
        EXPECT_TRUE(
            message.startsWith(u"ブックを読めません。\r\n"_s + album.dir.filePath(c.name) + u"\r\n"_s))
            << c.name.toStdString() << ": " << message.toStdString();
        EXPECT_TRUE(message.endsWith(c.reason)) << c.name.toStdString() << ": " << message.toStdString();
    }
}

TEST(TemplateDamage, OldBinaryBooksThatAreNoBooksAreRefusedBeforeConversion) {
    Album album;
    const std::pair<QByteArray, QString> cases[] = {
        {QByteArray(4000, 'x'), u"壊れているか、Excel のブックではありません。"_s},
        {compoundFile({u"Something"_s}), u"壊れているか、Excel のブックではありません。"_s},
        {compoundFile({u"EncryptionInfo"_s, u"EncryptedPackage"_s}), u"暗号化されています。"_s},
    };
    for (const auto& [bytes, reason] : cases) {
        const QString message = album.refusal(u"Free.xls"_s, bytes);
        EXPECT_TRUE(message.startsWith(u"Excel 97-2003 形式（.xls）のブックを変換できませんでした。\r\n"_s +
                                       album.dir.filePath(u"Free.xls"_s) + u"\r\n"_s + reason + u"\r\n"_s))
            << message.toStdString();
        EXPECT_FALSE(message.contains(u"2 枚目"_s));
    }
}
