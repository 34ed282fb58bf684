#include "base/app_error.h"
#include "classified_fixture.h"
#include "support/test_files.h"
#include "survey/classified_csv.h"

using namespace Qt::StringLiterals;

namespace {

QStringList columns(const ImportTable& table, int line) {
    QStringList texts;
    for (int c = 0; c < ImportTable::Columns; ++c)
        texts << table.column(line, c).toString();
    return texts;
}

} // namespace

using ClassifiedTableTest = ClassifiedFixture;

TEST_F(ClassifiedTableTest, GroupsAreRunsOfEqualKeysNotDistinctKeys) {
    const QString csv = writeCsv({line(u"1-1"_s, u"A"_s, u"シートA1"_s, u"n1.jpg"_s, u"f1.jpg"_s),
                                  line(u"1-2"_s, u"A"_s, u"シートA2"_s, u"n2.jpg"_s, u"f2.jpg"_s),
                                  line(u"1-2"_s, u"B"_s, u"シートB"_s, u"n3.jpg"_s, u"f3.jpg"_s),
                                  line(u"1-3"_s, u"A"_s, u"シートA3"_s, u"n4.jpg"_s, u"f4.jpg"_s)});

    const ClassifiedData byName = readClassifiedCsv(csv, ClassifiedKey::MapName);
    EXPECT_EQ(byName.lineCount(), 4);
    EXPECT_EQ(byName.groups, (QList<ImportGroup>{{1, 2}, {3, 3}, {4, 4}}));
    EXPECT_EQ(byName.rows, (QList<GroupRow>{{u"A"_s, u"シートA1"_s, u"2"_s, {}},
                                            {u"B"_s, u"シートB"_s, u"1"_s, {}},
                                            {u"A"_s, u"シートA3"_s, u"1"_s, {}}}));
    EXPECT_EQ(byName.folder, folder());

    // By map number the key is field 1 and the sheet name is the key itself.
    const ClassifiedData byNumber = readClassifiedCsv(csv, ClassifiedKey::MapNumber);
    EXPECT_EQ(byNumber.groups, (QList<ImportGroup>{{1, 1}, {2, 3}, {4, 4}}));
    EXPECT_EQ(byNumber.rows.at(1), (GroupRow{u"1-2"_s, u"1-2"_s, u"2"_s, {}}));
}

TEST_F(ClassifiedTableTest, ColumnsKeepFieldsAsWrittenAndMarkOnlyExactOneOrTwo) {
    writeBytes(path(u"c.csv"_s), cp932(u"h1,h2\r\n"
                                       u"\"K1\",大字,公図1,S,-5,備考,写真\\P001.jpg,,1\r\n"
                                       u"K2,x,y,z,w,v,n,f, 1\r\n"
                                       u"K3,x,y,z,w,v,n,f,2,extra\r\n"
                                       u"K4,x,y\r\n"_s));
    const ClassifiedData data = readClassifiedCsv(path(u"c.csv"_s), ClassifiedKey::MapName);
    ASSERT_EQ(data.lineCount(), 4);
    EXPECT_EQ(columns(data.table, 0).mid(0, 2), (QStringList{u"h1"_s, {}}));
    EXPECT_EQ(
        columns(data.table, 1),
        (QStringList{
            u"K1"_s, u"公図1"_s, u"S"_s, u"大字公図1-5"_s, u"備考"_s, u"写真\\P001.jpg"_s, {}, u"有"_s}));
    EXPECT_EQ(data.table.column(2, 7), u"無");
    EXPECT_EQ(data.table.column(3, 7), u"有");
    EXPECT_EQ(columns(data.table, 4), (QStringList{u"K4"_s, u"y"_s, {}, u"xy"_s, {}, {}, {}, u"無"_s}));
}

// Spreadsheets quote a cell that holds a comma or a quote; such a field must not shift the
// photos and the witness flag after it.
TEST_F(ClassifiedTableTest, QuotedFieldsAreReadWholeAndUnquotedOnesAsWritten) {
    struct Case {
        QString line;
        QStringList columns; // 0, 3, 4, 5, 6, 7
    };
    const QList<Case> cases = {
        {uR"(K,字,公図,S,1,"コンクリート杭,頭部欠損",P002_近.jpg,P002_遠.jpg,1)"_s,
         {u"K"_s, u"字公図1"_s, u"コンクリート杭,頭部欠損"_s, u"P002_近.jpg"_s, u"P002_遠.jpg"_s, u"有"_s}},
        {uR"("K,1",字,"公図",S,,"""杭""","a,b.jpg","c.jpg","2")"_s,
         {u"K,1"_s, u"字公図"_s, u"\"杭\""_s, u"a,b.jpg"_s, u"c.jpg"_s, u"有"_s}},
        // Text after the closing quote stays; an empty quoted field is empty.
        {uR"(K,字,公図,S,1,"杭"A,"",f.jpg,0)"_s, {u"K"_s, u"字公図1"_s, u"杭A"_s, {}, u"f.jpg"_s, u"無"_s}},
        // Quotes that do not open a field, or open one never closed, are read as written.
        {uR"(K,字,公図,S,1,杭"a",n.jpg,f.jpg,1)"_s,
         {u"K"_s, u"字公図1"_s, u"杭\"a\""_s, u"n.jpg"_s, u"f.jpg"_s, u"有"_s}},
        {uR"(K,字,公図,S,1,"杭,n.jpg,f.jpg,1)"_s,
         {u"K"_s, u"字公図1"_s, u"\"杭"_s, u"n.jpg"_s, u"f.jpg"_s, u"有"_s}},
        // The last field quoted at the end of the line.
        {uR"(K,字,公図,S,1,備考,n.jpg,f.jpg,"1")"_s,
         {u"K"_s, u"字公図1"_s, u"備考"_s, u"n.jpg"_s, u"f.jpg"_s, u"有"_s}},
    };
    QString text = Header + u"\r\n"_s;
    for (const Case& c : cases)
        text += c.line + u"\r\n"_s;
    writeBytes(path(u"q.csv"_s), cp932(text));
    const ClassifiedData data = readClassifiedCsv(path(u"q.csv"_s), ClassifiedKey::MapName);
    ASSERT_EQ(data.lineCount(), cases.size());
    for (int i = 0; i < cases.size(); ++i) {
        const QStringList all = columns(data.table, i + 1);
        EXPECT_EQ((QStringList{all[0], all[3], all[4], all[5], all[6], all[7]}), cases[i].columns)
            << cases[i].line.toStdString();
    }
}

TEST_F(ClassifiedTableTest, LineEndsOfAnyKindAndTheLastOneStartsNoLine) {
    for (const QByteArray& bytes :
         {QByteArray("h\r\na,b,K\r\nc,d,K\r\n"), QByteArray("h\na,b,K\nc,d,K\n"),
          QByteArray("h\ra,b,K\rc,d,K"), QByteArray("\xEF\xBB\xBFh\r\na,b,K\r\nc,d,K")}) {
        writeBytes(path(u"e.csv"_s), bytes);
        const ClassifiedData data = readClassifiedCsv(path(u"e.csv"_s), ClassifiedKey::MapName);
        EXPECT_EQ(data.lineCount(), 2) << bytes.toStdString();
        EXPECT_EQ(data.groups, (QList<ImportGroup>{{1, 2}}));
        EXPECT_EQ(data.table.column(2, 0), u"c");
    }
    // An empty line in between is a line of its own, with an empty key.
    writeBytes(path(u"e.csv"_s), "h\r\na,b,K\r\n\r\nc,d,K\r\n");
    EXPECT_EQ(readClassifiedCsv(path(u"e.csv"_s), ClassifiedKey::MapName).groups.size(), 3);
}

TEST_F(ClassifiedTableTest, HeaderOnlyGivesNoGroupsAndAMissingFileIsNamed) {
    const ClassifiedData data = readClassifiedCsv(writeCsv({}), ClassifiedKey::MapName);
    EXPECT_EQ(data.lineCount(), 0);
    EXPECT_TRUE(data.groups.isEmpty());
    EXPECT_TRUE(data.rows.isEmpty());
    try {
        readClassifiedCsv(path(u"missing.csv"_s), ClassifiedKey::MapName);
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"missing.csv"_s)) << error.what();
    }
}
