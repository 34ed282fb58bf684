#include "classified_fixture.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/classified_check.h"
#include "survey/classified_commands.h"
#include "survey/classified_csv.h"

#include <QFile>

using namespace Qt::StringLiterals;

using ClassifiedCheckTest = ClassifiedFixture;

TEST_F(ClassifiedCheckTest, LogListsEmptyKeysThenMissingNearBeforeFarInOrder) {
    touch(u"写真/n1.jpg"_s);
    touch(u"写真/f1.jpg"_s);
    touch(u"f2.jpg"_s);
    touch(u"n3.jpg"_s);
    const QString csv = writeCsv({line(u"1"_s, u"公図A"_s, u"S"_s, u"写真\\n1.jpg"_s, u"写真/f1.jpg"_s),
                                  line(u"2"_s, u"公図A"_s, u"S"_s, u"\"n2.jpg\""_s, u"f2.jpg"_s),
                                  line(u"3"_s, {}, u"S"_s, u"n3.jpg"_s, u"f3.jpg"_s),
                                  line(u"4"_s, u"公図B"_s, u"S"_s, {}, {})});
    const ClassifiedData data = readClassifiedCsv(csv, ClassifiedKey::MapName);
    ScriptedPrompts prompts;
    ClassifiedCommands::Check(data, prompts);

    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::CheckFound);
    EXPECT_EQ(prompts.lastMessage().title, u"エラー"_s);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Critical);
    const QByteArray expected = cp932(u"2 : 字2公図A-2 近景写真無し(n2.jpg)\r\n"
                                      u"2行: 公図（正）名が空欄です。正しく処理できません。\r\n"
                                      u"3 : 字3-3 遠景写真無し(f3.jpg)\r\n"
                                      u"4 : 字4公図B-4 近景写真無し()\r\n"
                                      u"4 : 字4公図B-4 遠景写真無し()\r\n"_s);
    EXPECT_EQ(readBytes(path(u"CHKErr.log"_s)), expected);
}

TEST_F(ClassifiedCheckTest, CleanDataTellsSoAndWritesNoLog) {
    touch(u"n.jpg"_s);
    touch(u"f.jpg"_s);
    const ClassifiedData data = readClassifiedCsv(
        writeCsv({line(u"1"_s, u"A"_s, u"S"_s, u"n.jpg"_s, u"f.jpg"_s)}), ClassifiedKey::MapName);
    ScriptedPrompts prompts;
    ClassifiedCommands::Check(data, prompts);
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::CheckClean);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Information);
    EXPECT_FALSE(QFile::exists(path(u"CHKErr.log"_s)));

    ClassifiedCommands::Check(ClassifiedData{}, prompts);
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::NoLinesToUse);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);
}

TEST_F(ClassifiedCheckTest, FiveThousandProblemsAreLoggedOneMoreWritesNoLog) {
    QStringList lines;
    for (int i = 0; i < 2500; ++i)
        lines << line(QString::number(i), u"A"_s, u"S"_s, u"n.jpg"_s, u"f.jpg"_s);
    const QString csv = writeCsv(lines);
    ClassifiedData data = readClassifiedCsv(csv, ClassifiedKey::MapName);
    ScriptedPrompts prompts;
    ClassifiedCommands::Check(data, prompts);
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::CheckFound);
    EXPECT_EQ(readBytes(path(u"CHKErr.log"_s)).count("\r\n"), 5000);

    QFile::remove(path(u"CHKErr.log"_s));
    lines << line(u"x"_s, u"A"_s, u"S"_s, u"n.jpg"_s, u"f.jpg"_s);
    data = readClassifiedCsv(writeCsv(lines), ClassifiedKey::MapName);
    const ClassifiedCheck::Result result = ClassifiedCheck::run(data);
    EXPECT_TRUE(result.overLimit);
    EXPECT_EQ(result.problems.size(), 5000);
    ClassifiedCommands::Check(data, prompts);
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::CheckOverLimit);
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Critical);
    EXPECT_FALSE(QFile::exists(path(u"CHKErr.log"_s)));
}

TEST(ClassifiedCheckPath, TheLogJoinsTheFolderWithOneSeparator) {
    EXPECT_EQ(ClassifiedCheck::logPath(u"/data/crew/"_s), u"/data/crew/CHKErr.log"_s);
    EXPECT_EQ(ClassifiedCheck::logPath(u"C:\\crew\\"_s), u"C:\\crew\\CHKErr.log"_s);
}
