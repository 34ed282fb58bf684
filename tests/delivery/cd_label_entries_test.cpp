#include "delivery/cd_label_entries.h"
#include "workspace/settings.h"
#include "workspace/settings_file.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CdLabelStartPosition, IsTheLeadingNumberInPlainDecimal) {
    EXPECT_EQ(startPositionValue(u"12mm"_s), u"12"_s);
    EXPECT_EQ(startPositionValue(u"  46.5"_s), u"46.5"_s);
    EXPECT_EQ(startPositionValue(u"21.50"_s), u"21.5"_s);
    EXPECT_EQ(startPositionValue(u"-3.25 左へ"_s), u"-3.25"_s);
    EXPECT_EQ(startPositionValue(u"12."_s), u"12"_s);
    EXPECT_EQ(startPositionValue(u"約10"_s), u"0"_s);
    EXPECT_EQ(startPositionValue(u"mm"_s), u"0"_s);
    EXPECT_EQ(startPositionValue(QString()), u"0"_s);
    // What a Japanese input method types with full-width digits on.
    EXPECT_EQ(startPositionValue(u"　１２．５ｍｍ"_s), u"12.5"_s);
    // Digits beyond any double would otherwise be written as a text that no longer reads back.
    EXPECT_EQ(startPositionValue(QString(400, u'9')), u"0"_s);
}

TEST(CdLabelEntries, TheKindShowsCorinsOnlyForOneAndAnythingElseAsTecris) {
    Settings settings;
    const auto kindOf = [&settings](const QString& stored) {
        settings.setText(130, stored);
        return CdLabelEntries::load(settings).registry;
    };
    EXPECT_EQ(kindOf(u"1"_s), CdLabelEntries::CORINS);
    EXPECT_EQ(kindOf(u" 1"_s), CdLabelEntries::CORINS);
    EXPECT_EQ(kindOf(u"0"_s), CdLabelEntries::TECRIS);
    for (const QString& odd : {u"2"_s, u"-1"_s, u"0.5"_s, u"CORINS"_s, QString()})
        EXPECT_EQ(kindOf(odd), CdLabelEntries::TECRIS) << odd.toStdString();
}

TEST(CdLabelEntries, TheFrameBoxIsCheckedExactlyWhenThePreviewDrawsTheFrame) {
    Settings settings;
    const auto frameOf = [&settings](const QString& stored) {
        settings.setText(149, stored);
        return CdLabelEntries::load(settings).frame;
    };
    EXPECT_TRUE(frameOf(u"1"_s));
    EXPECT_TRUE(frameOf(u"True"_s));
    EXPECT_TRUE(frameOf(u"-1"_s));
    EXPECT_FALSE(frameOf(u"0"_s));
    EXPECT_FALSE(frameOf(u"False"_s));
    EXPECT_FALSE(frameOf(QString()));
}

TEST(CdLabelEntries, StoredEntriesComeBackThroughTheSettingsFileAndLeaveTheirNeighboursAlone) {
    Settings settings = Settings::defaults();
    for (int n : {129, 142, 146, 150})
        settings.setText(n, u"他"_s + QString::number(n));
    CdLabelEntries entries;
    entries.registry = CdLabelEntries::CORINS;
    for (int i = 1; i <= CdLabelEntries::RowCount; ++i)
        entries.rows << u"行"_s + QString::number(i);
    entries.rows[1] = u"○○線道路改良工事\r\n（その2）"_s;
    entries.startX = u"12mm"_s;
    entries.startY = u"下から"_s;
    entries.frame = false;
    entries.store(settings);

    EXPECT_EQ(settings.text(130), u"1"_s);
    EXPECT_EQ(settings.text(131), u"行1"_s);
    EXPECT_EQ(settings.text(141), u"行11"_s);
    EXPECT_EQ(settings.text(147), u"12"_s);
    EXPECT_EQ(settings.text(148), u"0"_s);
    EXPECT_EQ(settings.text(149), u"0"_s);

    const Settings reread = SettingsFile::parse(SettingsFile::serialize(settings).bytes);
    for (int n : {129, 142, 146, 150})
        EXPECT_EQ(reread.text(n), u"他"_s + QString::number(n)) << n;
    const CdLabelEntries back = CdLabelEntries::load(reread);
    EXPECT_EQ(back.registry, CdLabelEntries::CORINS);
    EXPECT_EQ(back.rows.size(), CdLabelEntries::RowCount);
    EXPECT_EQ(back.rows.at(0), u"行1"_s);
    // A line break would shift every later line of the file; it comes back as a blank.
    EXPECT_EQ(back.rows.at(1), u"○○線道路改良工事 （その2）"_s);
    EXPECT_EQ(back.rows.at(10), u"行11"_s);
    EXPECT_EQ(back.startX, u"12"_s);
    EXPECT_EQ(back.startY, u"0"_s);
    EXPECT_FALSE(back.frame);

    entries.registry = CdLabelEntries::TECRIS;
    entries.frame = true;
    entries.store(settings);
    EXPECT_EQ(settings.text(130), u"0"_s);
    EXPECT_EQ(settings.text(149), u"1"_s);
}
