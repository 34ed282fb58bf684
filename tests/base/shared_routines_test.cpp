#include "base/shared_routines.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SplitLines, TrailingBreakGivesEmptyLastPieceAndEmptiesBeyond) {
    const FieldBuffer lines = SplitLines(u"a\r\nb\r\n"_s);
    EXPECT_EQ(lines.count(), 3);
    EXPECT_EQ(lines(1), u"a"_s);
    EXPECT_EQ(lines(2), u"b"_s);
    EXPECT_EQ(lines(3), QString());
    EXPECT_EQ(lines(30), QString());
    EXPECT_EQ(lines(0), QString());
}

TEST(SplitLines, OnlyCrLfSplitsAndThirtyPiecesAtMost) {
    EXPECT_EQ(SplitLines(u"a\nb\rc"_s)(1), u"a\nb\rc"_s);
    EXPECT_EQ(SplitLines(QString()).count(), 1);

    QStringList many;
    for (int i = 1; i <= 35; ++i)
        many << QString::number(i);
    const FieldBuffer lines = SplitLines(many.join(u"\r\n"_s));
    EXPECT_EQ(lines.count(), 30);
    EXPECT_EQ(lines(30), u"30"_s);
}

TEST(SplitFields, EveryCommaSeparatesWithoutQuotingOrTrimming) {
    const FieldBuffer fields = SplitFields(u"x,,y"_s);
    EXPECT_EQ(fields.count(), 3);
    EXPECT_EQ(fields(2), QString());
    EXPECT_EQ(fields(3), u"y"_s);

    const FieldBuffer quoted = SplitFields(u"\"a,b\", c "_s);
    EXPECT_EQ(quoted(1), u"\"a"_s);
    EXPECT_EQ(quoted(2), u"b\""_s);
    EXPECT_EQ(quoted(3), u" c "_s);
}

TEST(RoundValue, ModesCutRoundAndRoundUpFromATenth) {
    EXPECT_DOUBLE_EQ(RoundValue(2.345, 2, 1), 2.35);
    EXPECT_DOUBLE_EQ(RoundValue(-2.345, 2, 1), -2.35);
    EXPECT_DOUBLE_EQ(RoundValue(2.341, 2, 2), 2.35);
    EXPECT_DOUBLE_EQ(RoundValue(2.3409, 2, 2), 2.34);
    EXPECT_DOUBLE_EQ(RoundValue(2.349, 2, 0), 2.34);
    EXPECT_DOUBLE_EQ(RoundValue(0.29, 2, 0), 0.29);
    EXPECT_DOUBLE_EQ(RoundValue(-0.29, 2, 0), -0.29);
    EXPECT_DOUBLE_EQ(RoundValue(1234.5, -2, 1), 1200);
    EXPECT_DOUBLE_EQ(RoundValue(2.999, 0, 7), 2);
}

TEST(NaturalKey, DigitRunsBecomeEightDigitValues) {
    EXPECT_EQ(NaturalKey(u"No.7"_s), u"No.00000007"_s);
    EXPECT_EQ(NaturalKey(u"P2-10"_s), u"P00000002-00000010"_s);
    EXPECT_EQ(NaturalKey(QString()), QString());
    EXPECT_EQ(NaturalKey(u"007"_s), u"00000007"_s);
    EXPECT_EQ(NaturalKey(u"x1234567890123"_s), u"x1234567890123"_s);
    EXPECT_EQ(NaturalKey(u"Ｐ１２"_s), u"Ｐ１２"_s); // full-width digits are letters here
    EXPECT_LT(NaturalKey(u"P2-10"_s), NaturalKey(u"P10-1"_s));
}

TEST(SortKeys, SortsOnlyTheGivenRangeByCodeUnits) {
    QStringList keys = {u"z"_s, u"b"_s, u"B"_s, u"あ"_s, u"a"_s, u"0"_s};
    SortKeys(keys, 1, 4);
    EXPECT_EQ(keys, (QStringList{u"z"_s, u"B"_s, u"a"_s, u"b"_s, u"あ"_s, u"0"_s}));
    SortKeys(keys, 0, 5);
    EXPECT_EQ(keys, (QStringList{u"0"_s, u"B"_s, u"a"_s, u"b"_s, u"z"_s, u"あ"_s}));
    SortKeys(keys, 3, 99); // out of range: left alone
    EXPECT_EQ(keys.first(), u"0"_s);
}
