#include "app/ansi_codec.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(AnsiCodec, JapaneseAndWindowsExtensionsRoundTrip) {
    const QString text = u"写真帳～①髙∥－￢ｱ\\~"_s;
    const AnsiCodec::Encoded encoded = AnsiCodec::encode(text);
    EXPECT_TRUE(encoded.ok());
    EXPECT_TRUE(encoded.bytes.startsWith("\x8E\xCA\x90\x5E\x92\xA0\x81\x60")); // 写真帳～
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(encoded.bytes);
    EXPECT_TRUE(decoded.ok);
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

TEST(AnsiCodec, Utf8IsReadWithBomOrWhenCp932CannotBe) {
    EXPECT_EQ(AnsiCodec::decode("\xEF\xBB\xBF\xE5\x86\x99").text, u"写"_s);
    EXPECT_EQ(AnsiCodec::decode("\xE5\x86\x99\xE7\x9C\x9F").text, u"写真"_s);
    EXPECT_EQ(AnsiCodec::decode("\x8E\xCA").text, u"写"_s);
    EXPECT_FALSE(AnsiCodec::decode("\x82").ok); // a lead byte cut off
    EXPECT_FALSE(AnsiCodec::decode("\xEF\xBB\xBF\xFF").ok);
}
