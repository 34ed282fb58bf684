#include "album/photo_paths.h"
#include "workspace/settings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

Settings fillSettings(std::initializer_list<std::pair<int, double>> items) {
    Settings settings = Settings::defaults();
    for (const auto& [item, value] : items)
        settings.setItem(item, SettingValue::number(value));
    return settings;
}

QString lines(std::initializer_list<QString> first) {
    QString text;
    int n = 0;
    for (const QString& line : first) {
        text += line + u"\r\n"_s;
        ++n;
    }
    for (; n < 8; ++n)
        text += u"\r\n"_s;
    return text;
}

const Settings NameAndKind = fillSettings({{4, 1}, {5, 1}, {6, 1}, {7, 0}, {38, 1}, {39, 1}, {40, 2}});

} // namespace

TEST(BuildInfoFromPath, FileNameKeepsTheCodeAndTheCodeGivesTheViewWord) {
    EXPECT_EQ(BuildInfoFromPath(u"C:\\写真\\K12_01.jpg"_s, NameAndKind), lines({u"K12_01"_s, u"近景"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"/home/u/K12_05.JPG"_s, NameAndKind), lines({u"K12_05"_s, u"標示版"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"/home/u/K12_03.jpg"_s, NameAndKind), lines({u"K12_03"_s, u"遠景"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"/home/u/K12_04.jpg"_s, NameAndKind), lines({u"K12_04"_s}));
    // Only the first "." ends the name; the code is everything after the first "_".
    EXPECT_EQ(BuildInfoFromPath(u"C:\\a\\P_01.b.jpg"_s, NameAndKind), lines({u"P_01"_s, u"近景"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"C:\\a\\A_B_01.jpg"_s, NameAndKind), lines({u"A_B_01"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"C:\\a\\noext"_s, NameAndKind), lines({u"noext"_s}));
}

TEST(BuildInfoFromPath, LineItemsOutsideOneToEightWriteNowhere) {
    Settings settings = NameAndKind;
    settings.setItem(SettingItem::KindLine, SettingValue::number(9));
    EXPECT_EQ(BuildInfoFromPath(u"C:\\x\\K_01.jpg"_s, settings), lines({u"K_01"_s}));
    settings.setItem(SettingItem::KindLine, SettingValue::number(0));
    settings.setItem(SettingItem::FileNameLine, SettingValue::number(2.6)); // rounded to 3
    EXPECT_EQ(BuildInfoFromPath(u"C:\\x\\K_01.jpg"_s, settings), lines({{}, {}, u"K_01"_s}));
}

TEST(BuildInfoFromPath, WithTheExtensionKeptThereIsNoViewWord) {
    Settings settings = NameAndKind;
    settings.setItem(SettingItem::StripExtension, SettingValue::number(0));
    EXPECT_EQ(BuildInfoFromPath(u"C:\\x\\K_01.jpg"_s, settings), lines({u"K_01.jpg"_s}));
}

TEST(BuildInfoFromPath, FolderAndParentFromWindowsAndPosixPaths) {
    const Settings settings =
        fillSettings({{4, 1}, {5, 1}, {6, 0}, {7, 1}, {38, 1}, {39, 1}, {41, 3}, {42, 4}});
    EXPECT_EQ(BuildInfoFromPath(u"C:\\a\\b\\x.jpg"_s, settings), lines({u"x"_s, {}, u"b"_s, u"a"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"/home/a/b/x.jpg"_s, settings), lines({u"x"_s, {}, u"b"_s, u"a"_s}));
    EXPECT_EQ(BuildInfoFromPath(u"//server/share\\b/x.jpg"_s, settings),
              lines({u"x"_s, {}, u"b"_s, u"share"_s}));
    // Near the drive the cut stops: the drive itself becomes the parent.
    EXPECT_EQ(BuildInfoFromPath(u"C:\\a\\x.jpg"_s, settings), lines({u"x"_s, {}, u"a"_s, u"C:"_s}));
}

TEST(BuildInfoFromPath, ALaterItemOverwritesAnEarlierOneOnTheSameLine) {
    const Settings settings =
        fillSettings({{4, 1}, {5, 1}, {6, 1}, {7, 1}, {38, 1}, {39, 1}, {40, 1}, {41, 1}, {42, 2}});
    EXPECT_EQ(BuildInfoFromPath(u"C:\\p\\f\\K_01.jpg"_s, settings), lines({u"f"_s, u"p"_s}));
}

TEST(BuildInfoFromPath, FillingFromTheFileOffGivesAnEmptyText) {
    Settings settings = NameAndKind;
    settings.setItem(SettingItem::AutoFillFromFile, SettingValue::number(0));
    EXPECT_EQ(BuildInfoFromPath(u"C:\\x\\K_01.jpg"_s, settings), QString());
}
