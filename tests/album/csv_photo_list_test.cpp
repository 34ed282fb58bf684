#include "album/csv_photo_list.h"
#include "base/app_error.h"
#include "support/test_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class CsvPhotoListTest : public testing::Test {
protected:
    QString write(const QByteArray& bytes) {
        const QString path = dir.filePath(u"list.CSV"_s);
        writeBytes(path, bytes);
        return path;
    }
    QString folder() const { return QDir::toNativeSeparators(dir.path()) + QDir::separator(); }

    QTemporaryDir dir;
};

TEST_F(CsvPhotoListTest, FieldsBecomeTwoInformationLinesAndAPathBesideTheList) {
    const CsvPhotoList list =
        readCsvPhotoList(write(cp932(u"見出し,x,y\r\nA,B,C.jpg\r\n境界点,,K1_01.jpg,余分\r\n"_s)), 1000);
    EXPECT_EQ(list.folder, folder());
    ASSERT_EQ(list.rows.size(), 2);
    EXPECT_EQ(list.rows[0].info, u"A\r\nB\r\n"_s);
    EXPECT_EQ(list.rows[0].path, folder() + u"C.jpg"_s);
    EXPECT_EQ(list.rows[1].info, u"境界点\r\n\r\n"_s);
    EXPECT_EQ(list.rows[1].path, folder() + u"K1_01.jpg"_s);
    EXPECT_EQ(list.linesNotImported, 0);
}

TEST_F(CsvPhotoListTest, HeaderOnlyGivesNoRowsAndAnyLineBreakEndsALine) {
    EXPECT_TRUE(readCsvPhotoList(write("header\r\n"), 1000).rows.isEmpty());
    EXPECT_TRUE(readCsvPhotoList(write(""), 1000).rows.isEmpty());
    const CsvPhotoList lfOnly = readCsvPhotoList(write("h\na,b,c.jpg\nd,e,f.jpg"), 1000);
    ASSERT_EQ(lfOnly.rows.size(), 2);
    EXPECT_EQ(lfOnly.rows[1].info, u"d\r\ne\r\n"_s);
}

TEST_F(CsvPhotoListTest, Utf8WithBomIsReadAsUtf8) {
    const CsvPhotoList list = readCsvPhotoList(write("\xEF\xBB\xBFh\r\n\xE5\x86\x99,2,a.jpg\r\n"), 1000);
    ASSERT_EQ(list.rows.size(), 1);
    EXPECT_EQ(list.rows[0].info, u"写\r\n2\r\n"_s);
}

TEST_F(CsvPhotoListTest, StopsAtTheCapacityAndCountsWhatWasLeft) {
    const CsvPhotoList list = readCsvPhotoList(write("h\r\n1,,a\r\n2,,b\r\n3,,c\r\n4,,d\r\n"), 2);
    EXPECT_EQ(list.rows.size(), 2);
    EXPECT_EQ(list.linesNotImported, 2);
}

// Lists written on Windows may name "P002_近.JPG" for the file "P002_近.jpg".
TEST_F(CsvPhotoListTest, APhotoInAnotherLetterCaseIsTheOneFileThere) {
    for (const QString& name : {u"P002_近.jpg"_s, u"a.jpg"_s, u"A.JPG"_s})
        writeBytes(dir.filePath(name), "x");
    const CsvPhotoList list =
        readCsvPhotoList(write(cp932(u"h\r\n1,,P002_近.JPG\r\n2,,a.Jpg\r\n3,,P003.JPG\r\n"_s)), 10);
    ASSERT_EQ(list.rows.size(), 3);
    EXPECT_EQ(list.rows[0].path, folder() + u"P002_近.jpg"_s);
    EXPECT_EQ(list.rows[1].path, folder() + u"a.Jpg"_s); // two match: neither is taken
    EXPECT_EQ(list.rows[2].path, folder() + u"P003.JPG"_s);
}

TEST_F(CsvPhotoListTest, UnreadableFilesAreReportedByName) {
    try {
        readCsvPhotoList(dir.filePath(u"nothing.csv"_s), 10);
        FAIL();
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"nothing.csv"_s));
    }
}

TEST_F(CsvPhotoListTest, RealWorldListsHalfWidthKanaAndWindowsSubFolders) {
    const CsvPhotoList kana = readCsvPhotoList(write("h\r\n1,\xCB\xB6\xDE\xBC,P1.JPG\r\n"), 10);
    ASSERT_EQ(kana.rows.size(), 1);
    EXPECT_EQ(kana.rows[0].info, u"1\r\nﾋｶﾞｼ\r\n"_s);

    const CsvPhotoList sub = readCsvPhotoList(write(cp932(u"h\r\nA,B,sub\\写真\\P002.JPG\r\n"_s)), 10);
    ASSERT_EQ(sub.rows.size(), 1);
    EXPECT_EQ(sub.rows[0].path, folder() + QDir::toNativeSeparators(u"sub/写真/P002.JPG"_s));
}

TEST(FolderOfPath, AcceptsBothSeparators) {
    EXPECT_EQ(folderOfPath(u"D:\\x\\list.csv"_s), u"D:\\x\\"_s);
    EXPECT_EQ(folderOfPath(u"/home/u/list.csv"_s), u"/home/u/"_s);
    EXPECT_EQ(folderOfPath(u"list.csv"_s), QString());
}
