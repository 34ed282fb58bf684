#include "album/csv_photo_list.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "base/shared_routines.h"
#include "support/test_files.h"
#include "survey/classified_table.h"
#include "survey/sima_reader.h"
#include "workspace/settings_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype LineLength = 20'000'000;
// Generous: linear work on these sizes takes well under a second; quadratic work never ends.
constexpr qint64 MaxMilliseconds = 10'000;

} // namespace

TEST(LongInput, OneHugeLineIsReadInLinearTime) {
    QTemporaryDir dir;
    const QString commas(LineLength, u',');
    const QString longName(LineLength, u'x');
    QElapsedTimer timer;

    timer.start();
    const FieldBuffer fields = SplitFields(commas);
    EXPECT_EQ(fields.count(), FieldBuffer::Capacity);
    EXPECT_EQ(SplitLines(longName)(1).size(), LineLength);
    EXPECT_LT(timer.restart(), MaxMilliseconds) << "splitting";

    const QString csv = dir.filePath(u"list.csv"_s);
    writeBytes(csv, "head\r\n" + longName.toLatin1() + ",info,p.jpg\r\n" + commas.toLatin1() + "\r\n");
    const CsvPhotoList list = readCsvPhotoList(csv, 100);
    ASSERT_EQ(list.rows.size(), 2);
    EXPECT_EQ(list.rows[0].info.size(), LineLength + 2 + 4 + 2);
    EXPECT_LT(timer.restart(), MaxMilliseconds) << "CSV list";

    const SimaFile sima =
        SimaReader::parse(u"A01,1,"_s + longName + u",1.5,2.5,\r\nD00,"_s + commas + u"\r\n"_s);
    ASSERT_EQ(sima.points.size(), 1);
    EXPECT_EQ(sima.points[0].Name.size(), LineLength);
    EXPECT_DOUBLE_EQ(sima.points[0].Y, 2.5);
    EXPECT_EQ(sima.parcels.size(), 1);
    EXPECT_LT(timer.restart(), MaxMilliseconds) << "SIMA";

    ImportTable table;
    fillTable(table, u"head\n"_s + commas + u"\n"_s + longName + u"\n"_s);
    EXPECT_EQ(table.lineCount(), 2);
    EXPECT_EQ(table.column(2, 0).size(), LineLength);
    EXPECT_LT(timer.restart(), MaxMilliseconds) << "classified CSV";
}

TEST(LongInput, ProgramFilesOfAbsurdSizeAreRefusedNamingTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tovenla.ini"_s);
    writeBytes(path, QByteArray(2 * 1024 * 1024, '1'));
    try {
        SettingsFile::ReadSettingsFile(path, true);
        ADD_FAILURE() << "a 2 MB settings file was read";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(QDir::toNativeSeparators(path)))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(u"大きすぎ"_s)) << error.message().toStdString();
    }
    EXPECT_EQ(readWholeFile(path, u"x"_s, 2 * 1024 * 1024).size(), 2 * 1024 * 1024);
    EXPECT_THROW(readWholeFile(path, u"x"_s, 1024), AppError);
}
