#include "base/app_error.h"
#include "classified_fixture.h"
#include "support/scripted_prompts.h"
#include "survey/classified_commands.h"
#include "survey/classified_csv.h"
#include "survey/import_capacity.h"
#include "workspace/workspace.h"

#include <QDir>

using namespace Qt::StringLiterals;
using Block = ClassifiedImport::Block;

class ClassifiedImportTest : public ClassifiedFixture {
protected:
    void SetUp() override {
        data =
            readClassifiedCsv(writeCsv({line(u"1"_s, u"A"_s, u"SA"_s, u"写真\\n1.jpg"_s, u"f1.jpg"_s, u"2"_s),
                                        line(u"2"_s, u"B"_s, u"SB"_s, u"n2.jpg"_s, u"f2.jpg"_s, u"3"_s),
                                        line(u"3"_s, u"C"_s, u"SC"_s, u"n3.jpg"_s, u"f3.jpg"_s),
                                        line(u"4"_s, u"C"_s, u"SC2"_s, u"n4.jpg"_s, u"f4.jpg"_s),
                                        line(u"5"_s, u"D"_s, u"SD"_s, u"n5.jpg"_s, u"f5.jpg"_s)}),
                              ClassifiedKey::MapName);
    }
    QStringList firstLines() const {
        QStringList keys;
        for (const AlbumRow& row : workspace.SS1.rows())
            keys << row.info.section(u"\r\n"_s, 0, 0);
        return keys;
    }

    ClassifiedData data;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
};

TEST_F(ClassifiedImportTest, BlocksInSelectionOrderTwoRowsPerLineWithTheSheetLine) {
    data.rows[2].sheetName = u"編集したシート"_s;
    ASSERT_TRUE(ClassifiedCommands::Import(data, workspace, prompts, {{3, 4}, {1, 1}}));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(firstLines(), (QStringList{u"3"_s, {}, u"4"_s, {}, u"5"_s, {}, u"1"_s, {}}));
    const QList<AlbumRow>& rows = workspace.SS1.rows();
    EXPECT_EQ(rows[0].info, u"3\r\n字3C-3\r\n有\r\n備考3\r\n編集したシート\r\n"_s);
    EXPECT_EQ(rows[2].info, u"4\r\n字4C-4\r\n有\r\n備考4\r\n編集したシート\r\n"_s);
    EXPECT_EQ(rows[6].info, u"1\r\n字1A-1\r\n有\r\n備考1\r\nSA\r\n"_s);
    EXPECT_EQ(rows[6].path, folder() + u"写真"_s + QDir::separator() + u"n1.jpg"_s);
    EXPECT_EQ(rows[7].path, folder() + u"f1.jpg"_s);
    EXPECT_TRUE(rows[7].info.isEmpty());
    QStringList flags;
    for (const GroupRow& row : data.rows)
        flags << row.flag;
    EXPECT_EQ(flags, (QStringList{u"1"_s, {}, u"1"_s, u"1"_s}));
    EXPECT_EQ(workspace.SheetModified, 1);
    EXPECT_EQ(workspace.AlbumRowCount, 8);
    EXPECT_EQ(workspace.FirstNewRow, 1);
    EXPECT_EQ(workspace.LastNewRow, 8);

    // A second import starts the album again from row 1; undo gives the first one back.
    ASSERT_TRUE(ClassifiedCommands::Import(data, workspace, prompts, {{2, 2}}));
    EXPECT_EQ(firstLines(), (QStringList{u"2"_s, {}}));
    EXPECT_TRUE(workspace.SS1.rows().at(0).info.contains(u"\r\n無\r\n"_s));
    workspace.undoStack.undo();
    EXPECT_EQ(workspace.AlbumRowCount, 8);
}

TEST_F(ClassifiedImportTest, NothingChosenOrNothingReadChangesNothing) {
    workspace.replaceRows(u"fill"_s, {AlbumRow{{}, u"keep\r\n"_s, {}, u"/p.jpg"_s}}, 0);
    EXPECT_FALSE(ClassifiedCommands::Import(data, workspace, prompts, {}));
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::NoGroupSelected);
    ClassifiedData empty;
    EXPECT_FALSE(ClassifiedCommands::Import(empty, workspace, prompts, {{1, 1}}));
    EXPECT_EQ(prompts.lastMessage().text, ClassifiedCommands::NoLinesToUse);
    EXPECT_EQ(workspace.SS1.rows().size(), 1);
    EXPECT_EQ(workspace.SheetModified, 0);
}

TEST_F(ClassifiedImportTest, CapacityMessageOnlyWhenRowsAreLeftOut) {
    workspace.AlbumMaxRows = 4;
    ASSERT_TRUE(ClassifiedCommands::Import(data, workspace, prompts, {{3, 3}}));
    EXPECT_EQ(workspace.AlbumRowCount, 4);
    EXPECT_TRUE(prompts.messages.isEmpty());

    // Three rows: the second line does not fit whole and is left out, its near photo too.
    workspace.AlbumMaxRows = 3;
    ASSERT_TRUE(ClassifiedCommands::Import(data, workspace, prompts, {{3, 3}}));
    EXPECT_EQ(firstLines(), (QStringList{u"3"_s, {}}));
    EXPECT_EQ(prompts.lastMessage().text, ImportCapacity::message(1));
    EXPECT_EQ(prompts.lastMessage().icon, Prompts::Icon::Question);

    const ClassifiedImport::Result result = ClassifiedImport::build(data, {{1, 4}}, 4);
    EXPECT_EQ(result.linesLeftOut, 3);
    EXPECT_EQ(result.linesImported, 2);
}

TEST(ClassifiedBlocks, SpecsListGroupRowsInOrder) {
    const auto blocks = ClassifiedImport::parseBlocks(u"3-4,1"_s, 5);
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0].top, 3);
    EXPECT_EQ(blocks[0].bottom, 4);
    EXPECT_EQ(blocks[1].top, 1);
    EXPECT_EQ(blocks[1].bottom, 1);
    EXPECT_EQ(ClassifiedImport::parseBlocks(u"all"_s, 5).constFirst().bottom, 5);
    for (const QString& bad : {u"0"_s, u"6"_s, u"4-3"_s, u"x"_s, u"1-2-3"_s, u""_s})
        EXPECT_THROW(ClassifiedImport::parseBlocks(bad, 5), AppError) << bad.toStdString();
}
