#include "base/ansi_codec.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(AnsiCodec, JapaneseAndWindowsExtensionsRoundTrip) {
    const QString text = u"写真帳～①髙∥－￢ｱ\\~"_s;
    const AnsiCodec::Encoded encoded = AnsiCodec::encode(text);
    EXPECT_TRUE(encoded.ok());
    EXPECT_TRUE(encoded.bytes.startsWith("\x8E\xCA\x90\x5E\x92\xA0\x81\x60")); // 写真帳～
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(encoded.bytes);
    EXPECT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.text, text);
}

TEST(AnsiCodec, JisFormsAreWrittenAsTheirWindowsTwins) {
    EXPECT_EQ(AnsiCodec::encode(u"〜"_s).bytes, QByteArray("\x81\x60"));
    EXPECT_EQ(AnsiCodec::encode(u"−"_s).bytes, QByteArray("\x81\x7C"));
    EXPECT_TRUE(AnsiCodec::encode(u"〜‖−"_s).ok());
}

TEST(AnsiCodec, CharactersOutsideCp932AreReportedAndMarked) {
    const AnsiCodec::Encoded encoded = AnsiCodec::encode(u"a😀bé"_s);
    EXPECT_EQ(encoded.bytes, QByteArray("a?b?"));
    EXPECT_EQ(encoded.unmappable, u"😀é"_s);
}

// The codec's IBM heritage swaps 0x1A, 0x1C and 0x7F; Windows does not, and an old file's
// end-of-file mark 0x1A must come back as it was.
TEST(AnsiCodec, ControlCharactersRoundTripAsWindowsKeepsThem) {
    const QByteArray controls("a\x1A"
                              "b\x1C"
                              "c\x7F\x8E\xCA",
                              8);
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(controls);
    EXPECT_EQ(decoded.text, u"a\x1A"
                            "b\x1C"
                            "c\x7F写"_s);
    EXPECT_EQ(AnsiCodec::encode(decoded.text).bytes, controls);
}

TEST(AnsiCodec, WindowsFormsOfDashAndYenAreWrittenAsWindowsWritesThem) {
    EXPECT_EQ(AnsiCodec::encode(u"—¥‾"_s).bytes, QByteArray("\x81\x5C\x5C~"));
    EXPECT_TRUE(AnsiCodec::encode(u"—¥"_s).ok());
}

// CP932 wins whenever it fits: half-width katakana and ASCII exports are often valid UTF-8.
TEST(AnsiCodec, OneDecodingRuleCp932FirstUtf8OnlyWhenCp932CannotBe) {
    const QByteArray kana = "1,\xCB\xB6\xDE\xBC,P1.JPG"; // 1,ﾋｶﾞｼ,P1.JPG
    const AnsiCodec::Decoded katakana = AnsiCodec::decode(kana);
    EXPECT_EQ(katakana.text, u"1,ﾋｶﾞｼ,P1.JPG"_s);
    EXPECT_TRUE(katakana.ok());

    EXPECT_EQ(AnsiCodec::decode("\xEF\xBB\xBF\xE5\x86\x99").text, u"写"_s);
    EXPECT_EQ(AnsiCodec::decode("\x8E\xCA\x90\x5E").text, u"写真"_s);
    const AnsiCodec::Decoded utf8 = AnsiCodec::decode(u"写真帳,境界"_s.toUtf8());
    EXPECT_EQ(utf8.text, u"写真帳,境界"_s);
    EXPECT_TRUE(utf8.ok());
}

TEST(AnsiCodec, UnreadableBytesAreNamedByLineAndSpoilNothingElse) {
    // 0x80, 0xA0 and 0xFD are no CP932 characters; 0x82 0x20 is a broken pair; 0x82 at the end
    // is cut off. None of this is UTF-8 either.
    const AnsiCodec::Decoded decoded = AnsiCodec::decode("ok\r\na\x80"
                                                         "b\r\n\x8E\xCA\r\n\xA0\xFD\r\n\x82 x\r\n\x82");
    EXPECT_EQ(decoded.text, u"ok\r\na\uFFFDb\r\n写\r\n\uFFFD\uFFFD\r\n\uFFFD x\r\n\uFFFD"_s);
    EXPECT_EQ(decoded.badLines, (QList<int>{2, 4, 5, 6}));
    const QString report = AnsiCodec::undecodableReport(u"/d/list.csv"_s, decoded.badLines);
    EXPECT_TRUE(report.contains(u"読み取れない文字"_s));
    EXPECT_TRUE(report.contains(u"list.csv"_s));
    EXPECT_TRUE(report.contains(u"2, 4, 5, 6"_s));

    EXPECT_EQ(AnsiCodec::decode("\xEF\xBB\xBF"
                                "a\n\xFF")
                  .badLines,
              QList<int>{2});
    // Already reported when read: written as "?" without a second report.
    const AnsiCodec::Encoded encoded = AnsiCodec::encode(u"a\uFFFDb"_s);
    EXPECT_EQ(encoded.bytes, QByteArray("a?b"));
    EXPECT_TRUE(encoded.ok());
}

// A line pasted from the other encoding is named, whichever encoding most lines are in, and the
// other lines keep their text.
TEST(AnsiCodec, MixedEncodingsNameTheLinesOfTheOtherEncoding) {
    const QByteArray utf8WithCp932Line = u"見出し,1,2\r\n近景,A,P1.JPG\r\n遠景,B,P2.JPG\r\n"_s.toUtf8() +
                                         AnsiCodec::encode(u"境界,C,P3.JPG\r\n"_s).bytes +
                                         u"全景,D,P4.JPG\r\n"_s.toUtf8() + "x\x80y\r\n";
    const AnsiCodec::Decoded mostlyUtf8 = AnsiCodec::decode(utf8WithCp932Line);
    EXPECT_TRUE(mostlyUtf8.text.startsWith(u"見出し,1,2\r\n近景,A,P1.JPG\r\n遠景,B,P2.JPG\r\n"_s));
    EXPECT_TRUE(mostlyUtf8.text.contains(u"\r\n全景,D,P4.JPG\r\n"_s));
    EXPECT_EQ(mostlyUtf8.badLines, (QList<int>{4, 6}));
    EXPECT_EQ(mostlyUtf8.otherEncodingLines, QList<int>{4});
    EXPECT_FALSE(mostlyUtf8.ok()); // the program's own files warn about it

    const QString refusal = AnsiCodec::importRefusal(u"/d/list.csv"_s, mostlyUtf8);
    EXPECT_TRUE(refusal.startsWith(AnsiCodec::ImportRefusedHeadline + u"\n/d/list.csv\n"_s))
        << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(u"文字コードが違います（UTF-8 と Shift_JIS の混在）: 行 4"_s))
        << refusal.toStdString();
    EXPECT_TRUE(refusal.contains(u"読み取れない文字があります: 行 6"_s)) << refusal.toStdString();

    const QByteArray cp932WithUtf8Line = AnsiCodec::encode(u"境界点,1\r\n北側,2\r\n"_s).bytes +
                                         u"近景,3\r\n"_s.toUtf8() + AnsiCodec::encode(u"工事,4"_s).bytes;
    const AnsiCodec::Decoded mostlyCp932 = AnsiCodec::decode(cp932WithUtf8Line);
    EXPECT_TRUE(mostlyCp932.text.startsWith(u"境界点,1\r\n北側,2\r\n"_s));
    EXPECT_TRUE(mostlyCp932.text.endsWith(u"\r\n工事,4"_s));
    EXPECT_EQ(mostlyCp932.badLines, QList<int>{3});
    EXPECT_EQ(mostlyCp932.otherEncodingLines, QList<int>{3});
}

// NUL never occurs in text: imports refuse it, the program's own files read on as before.
TEST(AnsiCodec, NulBytesAreNamedForImportsAndLongListsAreCut) {
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(QByteArray("a\r\nb\0c\r\nd\r\n\0", 12));
    EXPECT_EQ(decoded.nulLines, (QList<int>{2, 4}));
    EXPECT_TRUE(decoded.ok());
    EXPECT_TRUE(AnsiCodec::importRefusal(u"/d/x.sim"_s, decoded).endsWith(u"）: 行 2, 4"_s));

    QByteArray many;
    for (int line = 1; line <= 25; ++line)
        many += "\x80\n";
    EXPECT_TRUE(
        AnsiCodec::importRefusal(u"/d/x.csv"_s, AnsiCodec::decode(many))
            .endsWith(
                u": 行 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20 ほか 5 行"_s));
}
