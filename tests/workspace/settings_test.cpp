#include "workspace/settings.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SettingValue, OnlyTheWritersOwnNumberFormReadsAsANumber) {
    const struct {
        QString line;
        QString text;
        bool isNumber;
    } cases[] = {
        {u"\t 500  \r"_s, u"500"_s, true},
        {u"-3"_s, u"-3"_s, true},
        {u" 10.5 "_s, u"10.5"_s, true},
        {u"0"_s, u"0"_s, true},
        // Each of these would change on the way back out if it became a number.
        {u"007"_s, u"007"_s, false},
        {u"1.50"_s, u"1.50"_s, false},
        {u".5"_s, u".5"_s, false},
        {u"1e3"_s, u"1e3"_s, false},
        {u"+1"_s, u"+1"_s, false},
        {u"*"_s, u"*"_s, false},
        {u"C:\\a,b"_s, u"C:\\a,b"_s, false},
        {u"  "_s, QString(), false},
        {u"ＭＳ Ｐゴシック:10.5"_s, u"ＭＳ Ｐゴシック:10.5"_s, false},
    };
    for (const auto& c : cases) {
        const SettingValue value = SettingValue::fromLine(c.line);
        EXPECT_EQ(value.text, c.text) << c.line.toStdString();
        EXPECT_EQ(value.isNumber, c.isNumber) << c.line.toStdString();
    }
}

TEST(SettingValue, NumbersAreWrittenInPlainDecimalThatReadsBackAsANumber) {
    const std::pair<double, QString> cases[] = {
        {1000, u"1000"_s},      {10.5, u"10.5"_s},     {-3, u"-3"_s},
        {-0.0, u"0"_s},         {0.1 + 0.2, u"0.3"_s}, {1e20, u"100000000000000000000"_s},
        {1e-7, u"0.0000001"_s}, {-46.25, u"-46.25"_s},
    };
    for (const auto& [number, text] : cases) {
        const SettingValue value = SettingValue::number(number);
        EXPECT_EQ(value.text, text);
        EXPECT_EQ(SettingValue::fromLine(value.text), value) << text.toStdString();
    }
}

TEST(SettingValue, LenientNumberReadingAndRounding) {
    const auto num = [](const QString& text) { return SettingValue::string(text).toNumber(); };
    EXPECT_EQ(num(u"12abc"_s), 12);
    EXPECT_EQ(num(u"abc"_s), 0);
    EXPECT_EQ(num(QString()), 0);
    EXPECT_EQ(num(u"  -2.5mm"_s), -2.5);
    EXPECT_EQ(num(u".5"_s), 0.5);
    EXPECT_EQ(num(u"12."_s), 12);
    EXPECT_EQ(num(u"1e3"_s), 1);
    EXPECT_EQ(num(u"-"_s), 0);
    // Typed with the input method on.
    EXPECT_EQ(num(u"１０６"_s), 106);
    EXPECT_EQ(num(u"　－２．５ｍｍ"_s), -2.5);

    const auto rounded = [](const QString& text) { return SettingValue::string(text).toRoundedInt(); };
    EXPECT_EQ(rounded(u"2.5"_s), 2);
    EXPECT_EQ(rounded(u"3.5"_s), 4);
    EXPECT_EQ(rounded(u"-2.5"_s), -2);
    EXPECT_EQ(rounded(u"84.6"_s), 85);
    EXPECT_EQ(rounded(u"８４．６"_s), 85);
    EXPECT_EQ(rounded(u"40000"_s), 32767);
    EXPECT_EQ(rounded(u"-1000000"_s), -32768);
    EXPECT_EQ(rounded(QString(400, u'9')), 32767); // beyond the range of a double
}

TEST(Settings, OnMeansEqualToOne) {
    Settings s;
    const std::pair<SettingValue, bool> cases[] = {
        {SettingValue::number(1), true},       {SettingValue::string(u"1"_s), true},
        {SettingValue::string(u" 1"_s), true}, {SettingValue::number(0), false},
        {SettingValue::string(u"*"_s), false}, {SettingValue::string(u"1abc"_s), false},
        {SettingValue::number(2), false},      {SettingValue::string(QString()), false},
    };
    for (const auto& [value, on] : cases) {
        s.setItem(SettingItem::ShowThumbnails, value);
        EXPECT_EQ(s.itemIsOn(SettingItem::ShowThumbnails), on) << value.text.toStdString();
    }
}

TEST(Settings, DefaultsGiveAWorkingLayout) {
    const Settings s = Settings::defaults();
    EXPECT_EQ(s.itemInt(SettingItem::AlbumMaxRows), 1000);
    EXPECT_TRUE(s.itemIsOn(SettingItem::PaperLayout)); // A4 portrait
    EXPECT_TRUE(s.itemIsOn(SettingItem::ShowThumbnails));
    EXPECT_FALSE(s.itemIsUnset(SettingItem::SplitByHyphen));

    // Three frames fit one column of the page and the information box stays right of them.
    const double w = s.itemNumber(SettingItem::PhotoWidthMm);
    const double h = s.itemNumber(SettingItem::PhotoHeightMm);
    const double top = s.itemNumber(SettingItem::MarginTopMm);
    const double bottom = s.itemNumber(SettingItem::MarginBottomMm);
    const double left = s.itemNumber(SettingItem::MarginLeftMm);
    const double right = s.itemNumber(SettingItem::MarginRightMm);
    EXPECT_GT(w, 0);
    EXPECT_DOUBLE_EQ(w / h, 4.0 / 3.0);
    EXPECT_LE(top + bottom + 3 * h, 287);
    EXPECT_LE(left + w, 168 - right);

    // The font setting is "name:size", which the page layout splits at the colon.
    const QStringList font = s.itemText(SettingItem::InfoFont).split(u':');
    ASSERT_EQ(font.size(), 2);
    EXPECT_EQ(font[1].toDouble(), 10.5);

    // Information line numbers 1..8, all different.
    QList<int> lines;
    for (int n : {SettingItem::FileNameLine, SettingItem::KindLine, SettingItem::FolderLine,
                  SettingItem::ParentFolderLine}) {
        EXPECT_TRUE(s.itemInt(n) >= 1 && s.itemInt(n) <= 8);
        EXPECT_FALSE(lines.contains(s.itemInt(n)));
        lines << s.itemInt(n);
    }
    EXPECT_EQ(s.text(SettingText::CdLabelKind), u"0"_s);
    EXPECT_EQ(s.text(SettingText::CdLabelFrameOn), u"1"_s);
}

TEST(Settings, OutOfRangeIndexIsCaughtInDebugAndHarmlessInRelease) {
    Settings s = Settings::defaults();
#ifdef QT_NO_DEBUG
    EXPECT_TRUE(s.item(0).text.isEmpty());
    EXPECT_TRUE(s.text(201).isEmpty());
    s.setItem(51, SettingValue::number(5));
    EXPECT_EQ(s, Settings::defaults());
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(s.item(51), "");
    EXPECT_DEATH(s.setText(0, u"x"_s), "");
#endif
}
