#include "base/app_error.h"
#include "base/output_guard.h"
#include "base/sheet_file.h"
#include "classified_fixture.h"
#include "support/scripted_prompts.h"
#include "support/test_files.h"
#include "survey/classified_commands.h"
#include "survey/classified_csv.h"
#include "survey/classified_file.h"

using namespace Qt::StringLiterals;

class ClassifiedFileTest : public ClassifiedFixture {
protected:
    void SetUp() override {
        data = readClassifiedCsv(
            writeCsv({line(u"x\"1\""_s, u"公図\"A\""_s, u"S、A"_s, u"n1.jpg"_s, u"f1.jpg"_s),
                      line(u"2"_s, u"公図\"A\""_s, u"S"_s, u"n2.jpg"_s, u"f2.jpg"_s, u"x"_s),
                      line(u"3"_s, u"B"_s, u"SB"_s, u"写真\\n3.jpg"_s, u"f3.jpg"_s)}),
            ClassifiedKey::MapName);
        data.rows[1].sheetName = u"編集後 \"引用\""_s;
        data.rows[0].flag = u"1"_s;
    }
    QString expectLoadFailure() {
        ScriptedPrompts prompts;
        ClassifiedData kept = data;
        prompts.openPaths.push_back(spd);
        EXPECT_FALSE(ClassifiedCommands::LoadImportFile(kept, prompts));
        EXPECT_EQ(kept.rows, data.rows);
        EXPECT_EQ(kept.lineCount(), data.lineCount());
        return prompts.messages.isEmpty() ? QString() : prompts.lastMessage().text;
    }

    ClassifiedData data;
    QString spd = path(u"day1.spd"_s);
    QString companion = path(u"day1.sp2"_s);
};

TEST_F(ClassifiedFileTest, RoundTripKeepsQuotesEditedSheetNamesAndFlags) {
    ClassifiedFile::save(spd, data);
    const QByteArray bytes = readBytes(companion);
    const QString start =
        u"\""_s + folder() +
        u"\"\r\n3,2\r\n"
        u"\"x\"\"1\"\"\",\"公図\"\"A\"\"\",\"S、A\",\"字x\"\"1\"\"公図\"\"A\"\"-x\"\"1\"\"\","_s;
    EXPECT_TRUE(bytes.startsWith(cp932(start))) << bytes.toStdString();
    EXPECT_TRUE(bytes.endsWith("\r\n1,2\r\n3,3\r\n"));

    const ClassifiedData loaded = ClassifiedFile::load(spd);
    EXPECT_EQ(loaded.folder, data.folder);
    EXPECT_EQ(loaded.groups, data.groups);
    EXPECT_EQ(loaded.rows, data.rows);
    ASSERT_EQ(loaded.lineCount(), 3);
    for (int j = 1; j <= 3; ++j)
        for (int c = 0; c < ImportTable::Columns; ++c)
            EXPECT_EQ(loaded.table.column(j, c), data.table.column(j, c)) << j << "," << c;
}

// Import files saved before they carried their companion's text are read from the companion.
TEST_F(ClassifiedFileTest, ABrokenOrDisagreeingCompanionChangesNothingAndIsNamed) {
    ClassifiedFile::save(spd, data);
    SheetContent earlier = SheetFile::load(spd);
    earlier.companionText.clear();
    SheetFile::save(spd, earlier);
    const QByteArray good = readBytes(companion);
    EXPECT_EQ(ClassifiedFile::load(spd).rows, data.rows);

    writeBytes(companion, good.left(good.indexOf("\"f2.jpg\"") + 4));
    QString message = expectLoadFailure();
    EXPECT_TRUE(message.contains(u"day1.sp2"_s) && message.contains(u"4 行目"_s)) << message.toStdString();

    writeBytes(companion, QByteArray(good).replace("\r\n3,2\r\n", "\r\n3,3\r\n"));
    message = expectLoadFailure();
    EXPECT_TRUE(message.contains(u"8 行目"_s)) << message.toStdString();

    writeBytes(companion, QByteArray(good).replace("\r\n3,3\r\n", "\r\n2,3\r\n"));
    message = expectLoadFailure();
    EXPECT_TRUE(message.contains(u"day1.spd"_s) && message.contains(u"個数"_s)) << message.toStdString();

    writeBytes(companion, good + "1,1\r\n");
    EXPECT_TRUE(expectLoadFailure().contains(u"8 行目"_s));

    QFile::remove(companion);
    EXPECT_TRUE(expectLoadFailure().contains(u"day1.sp2"_s));
}

// A save stopped between its two files leaves the new import file beside the old companion: the
// new pair loads, as it does beside a companion damaged or gone.
TEST_F(ClassifiedFileTest, TheImportFileLoadsItsPairWhateverCompanionIsBesideIt) {
    ClassifiedFile::save(spd, data);
    const QByteArray oldCompanion = readBytes(companion);
    ClassifiedData changed = data;
    changed.groups.removeLast();
    changed.rows.removeLast();
    changed.rows[0].sheetName = u"新しい"_s;
    ClassifiedFile::save(spd, changed);
    for (const QByteArray& beside : {oldCompanion, oldCompanion.left(20), QByteArray()}) {
        writeBytes(companion, beside);
        const ClassifiedData loaded = ClassifiedFile::load(spd);
        EXPECT_EQ(loaded.rows, changed.rows);
        EXPECT_EQ(loaded.groups, changed.groups);
        EXPECT_EQ(loaded.folder, changed.folder);
    }
    QFile::remove(companion);
    EXPECT_EQ(ClassifiedFile::load(spd).rows, changed.rows);
}

TEST_F(ClassifiedFileTest, SaveAndLoadCommandsWithTheirDialogs) {
    ScriptedPrompts prompts;
    EXPECT_FALSE(ClassifiedCommands::SaveImportFile(ClassifiedData{}, prompts, {}));
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::NoLinesToSave);
    EXPECT_TRUE(prompts.fileRequests.isEmpty());

    prompts.savePaths.push_back(spd);
    ASSERT_TRUE(ClassifiedCommands::SaveImportFile(data, prompts, {}));
    EXPECT_EQ(prompts.fileRequests.constLast().filter, u"ｲﾝﾎﾟｰﾄﾌｧｲﾙ (*.spd)|*.spd"_s);
    EXPECT_EQ(SheetFile::load(spd).rows.at(2), (QStringList{u"B"_s, u"編集後 \"引用\""_s, u"1"_s, {}}));

    ClassifiedData other;
    prompts.openPaths.push_back(spd);
    ASSERT_TRUE(ClassifiedCommands::LoadImportFile(other, prompts));
    EXPECT_EQ(other.rows, data.rows);
    EXPECT_FALSE(ClassifiedCommands::LoadImportFile(other, prompts)); // cancelled
    EXPECT_EQ(other.rows, data.rows);
}

// Names that differ only in their last character share a companion, and a name ending in "2"
// is its own: a save never writes over another pair, and pairs saved before keep loading.
TEST_F(ClassifiedFileTest, ASaveNeverWritesOverAnotherPair) {
    ScriptedPrompts prompts;
    prompts.savePaths.push_back(path(u"区画2"_s));
    ASSERT_TRUE(ClassifiedCommands::SaveImportFile(data, prompts, {}));
    EXPECT_TRUE(QFile::exists(path(u"区画2.sp2"_s)));
    EXPECT_EQ(ClassifiedFile::load(path(u"区画2.spd"_s)).rows, data.rows);
    EXPECT_EQ(ClassifiedFile::withExtension(path(u"区画.old"_s)), path(u"区画.old"_s));

    ClassifiedFile::save(path(u"山田1"_s), data); // as saved before ".spd" was added
    EXPECT_EQ(ClassifiedFile::load(path(u"山田1"_s)).rows, data.rows);
    const QByteArray companionBefore = readBytes(path(u"山田2"_s));
    const auto refusal = [&](const QString& name) {
        const bool existed = QFile::exists(path(name));
        try {
            ClassifiedFile::save(path(name), data);
        } catch (const AppError& error) {
            EXPECT_EQ(QFile::exists(path(name)), existed) << name.toStdString();
            EXPECT_EQ(readBytes(path(u"山田2"_s)), companionBefore);
            return error.message();
        }
        ADD_FAILURE() << "saved " << name.toStdString();
        return QString();
    };
    QString message = refusal(u"山田2"_s);
    EXPECT_TRUE(message.startsWith(u"インポートファイルを保存しませんでした。\n"_s + path(u"山田2"_s)));
    EXPECT_TRUE(message.contains(u"最後の文字が「2」でない名前"_s)) << message.toStdString();
    message = refusal(u"山田3"_s);
    EXPECT_TRUE(message.contains(u"組になるファイル: "_s + path(u"山田2"_s))) << message.toStdString();
    EXPECT_TRUE(message.contains(u"別のインポートファイル: "_s + path(u"山田1"_s))) << message.toStdString();

    SheetFile::save(path(u"grid.x2"_s), SheetContent{4, {{1, {u"A"_s, u"S"_s, u"1"_s, {}}}}, {}});
    EXPECT_TRUE(refusal(u"grid.x1"_s).contains(u"別のインポートファイルがあります"_s));
    EXPECT_EQ(SheetFile::load(path(u"grid.x2"_s)).rows.size(), 1u);

    // Saving a pair again, or over a companion whose import file is gone, is allowed.
    data.rows[0].flag = u"2"_s;
    ClassifiedFile::save(path(u"山田1"_s), data);
    EXPECT_EQ(ClassifiedFile::load(path(u"山田1"_s)).rows, data.rows);
    writeBytes(path(u"orphan.sp2"_s), "left by a save cut short");
    ClassifiedFile::save(path(u"orphan.spd"_s), data);
    EXPECT_EQ(ClassifiedFile::load(path(u"orphan.spd"_s)).rows, data.rows);
}
