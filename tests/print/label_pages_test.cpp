#include "print/label_dates.h"
#include "print/label_pages.h"
#include "print/print_document.h"
#include "print_test_support.h"
#include "workspace/settings.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

Settings labelSettings(const QString& kind, const QString& frameOn) {
    Settings settings = Settings::defaults();
    settings.setText(130, kind);
    settings.setText(131, u"1234567"_s);
    settings.setText(132, u"測量"_s);
    settings.setText(133, u"2019/5/1"_s);
    settings.setText(134, u"東京都"_s);
    settings.setText(135, u"国土交通省"_s);
    settings.setText(136, u"測量株式会社"_s);
    settings.setText(137, u"VirusScan"_s);
    settings.setText(138, u"2024-03-09"_s);
    settings.setText(139, u"未定"_s);
    settings.setText(140, u"ISO9660"_s);
    settings.setText(141, u"1/1"_s);
    settings.setText(147, u"6"_s);
    settings.setText(148, u"6.5"_s);
    settings.setText(149, frameOn);
    return settings;
}

QStringList textsOf(const PrintDocument& document) {
    QStringList texts;
    for (const TextOp& op : opsOf<TextOp>(document, 1))
        texts << op.text;
    return texts;
}

} // namespace

TEST(LabelDatesTest, EraFormatsWriteTheFirstYearAsGannen) {
    EXPECT_EQ(LabelDates::eraFiscalYear(u"2019-05-01"_s), u"令和元年度 "_s);
    EXPECT_EQ(LabelDates::eraYearMonth(u"2019-05-01"_s), u"令和元年5月"_s);
    EXPECT_EQ(LabelDates::eraYearMonth(u"2019/4/30"_s), u"平成31年4月"_s);
    EXPECT_EQ(LabelDates::eraFiscalYear(u"2024年3月9日"_s), u"令和6年度 "_s);
    EXPECT_EQ(LabelDates::eraYearMonth(u"1989/1/8"_s), u"平成元年1月"_s);
    EXPECT_EQ(LabelDates::eraYearMonth(u"R2.7.1"_s), u"令和2年7月"_s);
    EXPECT_EQ(LabelDates::westernDate(u"令和元年5月1日"_s), u"2019年5月1日"_s);
    EXPECT_EQ(LabelDates::westernVersionDate(u"2024-03-09"_s), u"2024年3月9日版"_s);
}

// Dates typed with the input method on, or copied with a time of day, are the dates they show.
TEST(LabelDatesTest, FullWidthDigitsAndATimeOfDayStillReadAsTheDate) {
    EXPECT_EQ(LabelDates::westernDate(u"２０１９/５/１"_s), u"2019年5月1日"_s);
    EXPECT_EQ(LabelDates::westernDate(u"２０１９／５／１"_s), u"2019年5月1日"_s);
    EXPECT_EQ(LabelDates::westernDate(u"2019/5/1 10:00:00"_s), u"2019年5月1日"_s);
    EXPECT_EQ(LabelDates::westernDate(u"2019-05-01T10:00"_s), u"2019年5月1日"_s);
    EXPECT_EQ(LabelDates::westernVersionDate(u"２０２４年３月９日　９：３０"_s), u"2024年3月9日版"_s);
    EXPECT_EQ(LabelDates::eraYearMonth(u"令和２年７月"_s), u"令和2年7月"_s);
    EXPECT_EQ(LabelDates::westernDate(u"2019/5/1 25時"_s), u"2019/5/1 25時"_s);
}

TEST(LabelDatesTest, TextsThatAreNotDatesArePrintedAsTyped) {
    EXPECT_EQ(LabelDates::eraFiscalYear(u"未定"_s), u"未定"_s);
    EXPECT_EQ(LabelDates::westernDate(u"2019/2/30"_s), u"2019/2/30"_s);
    EXPECT_EQ(LabelDates::westernDate(QString()), QString());
}

TEST(LabelPagesTest, TwoLabelsWithTheirTextsCentredOnTheDisc) {
    PrintDocument document;
    document.FontName = u"IPAPGothic"_s;
    LabelPages::out_Label(document, labelSettings(u"1"_s, u"1"_s));
    ASSERT_EQ(document.PageCount(), 1);
    const QStringList texts = textsOf(document);
    EXPECT_EQ(texts.count(u"CORINS登録番号 1234567"_s), 2);
    EXPECT_EQ(texts.count(u"令和元年度 測量工事"_s), 2);
    EXPECT_EQ(texts.count(u"工事箇所：東京都"_s), 2);
    EXPECT_EQ(texts.count(u"ウイルス定義：2024年3月9日版"_s), 2);
    EXPECT_EQ(texts.count(u"チェック年月日：未定"_s), 2);

    // Start 6, 6.5 puts the origin at the page corner: centred texts around x 69 mm.
    const auto ops = opsOf<TextOp>(document, 1);
    document.FontSize = 9;
    const double width = document.TextWidth(ops[0].text);
    EXPECT_NEAR(mm(ops[0].x + width / 2), 69, 0.01);
    EXPECT_NEAR(mm(ops[0].y), 37, 1e-9);
    const auto lower =
        std::find_if(ops.begin() + 1, ops.end(), [&](const TextOp& op) { return op.text == ops[0].text; });
    EXPECT_NEAR(mm(lower->y), 37 + 129, 1e-9);
}

TEST(LabelPagesTest, TecrisWordsAndTheTickOnlyInItsOwnSquare) {
    PrintDocument document;
    LabelPages::out_Label(document, labelSettings(u"0"_s, u"0"_s));
    const QStringList texts = textsOf(document);
    EXPECT_TRUE(texts.contains(u"TECRIS登録番号 1234567"_s));
    EXPECT_TRUE(texts.contains(u"令和元年度 測量業務委託"_s));
    EXPECT_TRUE(texts.contains(u"委託箇所：東京都"_s));
    EXPECT_TRUE(opsOf<CircleOp>(document, 1).isEmpty());

    // Ticks are the short strokes starting 0.3 mm into a square at y 94.5 (+129 below).
    QList<QPointF> tickStarts;
    for (const LineOp& line : opsOf<LineOp>(document, 1))
        if (std::abs(mm(line.y1) - mm(line.y2) + 0.3) < 1e-6 &&
            std::abs(mm(line.x2) - mm(line.x1) - 0.2) < 1e-6)
            tickStarts << QPointF(mm(line.x1), mm(line.y1));
    ASSERT_EQ(tickStarts.size(), 2);
    EXPECT_NEAR(tickStarts[0].x(), 28.3, 1e-6);
    EXPECT_NEAR(tickStarts[0].y(), 96.1, 1e-6);
    EXPECT_NEAR(tickStarts[1].x(), 38.3, 1e-6);
    EXPECT_NEAR(tickStarts[1].y(), 96.1 + 129, 1e-6);
}

TEST(LabelPagesTest, LayoutFrameFollowsTheStartPosition) {
    Settings settings = labelSettings(u"1"_s, u"1"_s);
    settings.setText(147, u"46.5"_s);
    settings.setText(148, u"21.5"_s);
    PrintDocument document;
    LabelPages::out_Label(document, settings);
    const auto circles = opsOf<CircleOp>(document, 1);
    ASSERT_EQ(circles.size(), 4);
    // Origin round(40.5) = 40 (half to even), round(15) = 15.
    EXPECT_NEAR(mm(circles[0].cx), 109, 1e-9);
    EXPECT_NEAR(mm(circles[0].cy), 99, 1e-9);
    EXPECT_NEAR(mm(circles[1].radius), 59, 1e-9);
    EXPECT_NEAR(mm(circles[2].cy), 99 + 129, 1e-9);
    const auto strips = opsOf<RectangleOp>(document, 1);
    EXPECT_NEAR(mm(strips[0].x1), 173, 1e-9);
    EXPECT_NEAR(mm(strips[1].x2) - mm(strips[1].x1), 55, 1e-9);
}
