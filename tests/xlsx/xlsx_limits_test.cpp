#include "base/app_error.h"
#include "xlsx/xlsx_package.h"

#include <QElapsedTimer>
#include <QList>
#include <QtEndian>

#include <zip.h>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Entries = QList<std::pair<std::string, QByteArray>>;

// A zip made with the library the program reads with, entries in the order given.
QByteArray zipOf(const Entries& entries) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* archive = zip_open_from_source(source, ZIP_TRUNCATE, &error);
    zip_source_keep(source);
    for (const auto& [name, bytes] : entries) {
        zip_source_t* data = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        // ZIP_FL_ENC_CP437 keeps the name's bytes as given, backslashes included.
        zip_file_add(archive, name.c_str(), data, ZIP_FL_ENC_CP437);
    }
    zip_close(archive);
    QByteArray out;
    zip_stat_t stat;
    zip_source_stat(source, &stat);
    zip_source_open(source);
    out.resize(qsizetype(stat.size));
    zip_source_read(source, out.data(), stat.size);
    zip_source_close(source);
    zip_source_free(source);
    return out;
}

Entries minimalBook() {
    return {{"[Content_Types].xml", "<Types/>"},
            {"_rels/.rels", "<Relationships/>"},
            {"xl/workbook.xml", "<workbook/>"}};
}

// Every size an entry declares, in its local and central headers, set to `declared`.
QByteArray withDeclaredSize(QByteArray zip, const std::string& name, quint32 declared) {
    for (const auto& [signature, nameLength, offset, nameAt] :
         {std::tuple{"PK\x03\x04", 26, 22, 30}, std::tuple{"PK\x01\x02", 28, 24, 46}}) {
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4)) {
            const quint16 length = qFromLittleEndian<quint16>(zip.constData() + at + nameLength);
            if (zip.mid(at + nameAt, length) == QByteArray::fromStdString(name))
                qToLittleEndian(declared, zip.data() + at + offset);
        }
    }
    return zip;
}

QString refusal(const QByteArray& zip, qint64 limit = XlsxPackage::MaxExpandedBytes) {
    try {
        XlsxPackage::fromZip(zip, u"/work/book.xlsx"_s, limit);
    } catch (const AppError& error) {
        return error.message();
    }
    return {};
}

} // namespace

TEST(XlsxLimits, PartsNamedOutsideThePackageAreRefusedNamingTheFile) {
    ASSERT_EQ(refusal(zipOf(minimalBook())), QString());
    for (const std::string hostile : {"../x.xml", "xl/../../x.xml", "/etc/x.xml", "C:\\x.xml", "C:/x.xml",
                                      "xl\\worksheets\\s.xml", "./x", "../"}) {
        Entries entries = minimalBook();
        entries.append({hostile, "<x/>"});
        const QString message = refusal(zipOf(entries));
        EXPECT_TRUE(message.contains(u"/work/book.xlsx"_s)) << hostile << ": " << message.toStdString();
        EXPECT_TRUE(message.contains(u"外"_s)) << hostile << ": " << message.toStdString();
    }
}

TEST(XlsxLimits, ExpansionPastTheLimitIsRefusedByDeclaredAndByRealSize) {
    Entries entries = minimalBook();
    entries.append({"xl/media/zeros.bin", QByteArray(200'000, '\0')});
    const QByteArray zip = zipOf(entries);
    ASSERT_LT(zip.size(), 10'000);
    EXPECT_EQ(refusal(zip, 300'000), QString());
    EXPECT_TRUE(refusal(zip, 150'000).contains(u"大きすぎ"_s));

    // A declared size of 4 GB is refused before anything is allocated for it.
    QElapsedTimer timer;
    timer.start();
    const QString huge = refusal(withDeclaredSize(zip, "xl/media/zeros.bin", 0xFFFFFFF0u));
    EXPECT_TRUE(huge.contains(u"/work/book.xlsx"_s)) << huge.toStdString();
    EXPECT_TRUE(huge.contains(u"500 MB"_s)) << huge.toStdString();
    EXPECT_LT(timer.elapsed(), 2000);

    // An entry declaring less than it holds is never taken as complete.
    const QString understated = refusal(withDeclaredSize(zip, "xl/media/zeros.bin", 1000), 150'000);
    EXPECT_TRUE(understated.contains(u"/work/book.xlsx"_s)) << understated.toStdString();
}
