#include "base/utf8_survey.h"

#include <QRandomGenerator>
#include <QStringDecoder>

#include <gtest/gtest.h>

#include <array>

using namespace Qt::StringLiterals;

namespace {

// The survey as Qt's own decoder tells it, from the decoded text: what the byte survey must
// agree with, on every input.
Utf8Survey decoderReading(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    Utf8Survey survey;
    survey.valid = !decoder.hasError();
    const QChar lineEnd = text.contains(u'\n') ? u'\n' : u'\r';
    int line = 1;
    bool bad = false, nul = false, japanese = false;
    const auto endLine = [&] {
        if (bad)
            survey.badLines << line;
        else if (japanese)
            survey.japaneseLines << line;
        if (nul) survey.nulLines << line;
        bad = nul = japanese = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t u = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            u = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        if (u == lineEnd.unicode()) {
            endLine();
            ++line;
        } else if (u == 0) {
            nul = true;
        } else if (u == 0xFFFD) {
            bad = bad || !survey.valid;
        } else if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
                   (u >= 0xFF01 && u <= 0xFFEF)) {
            japanese = true;
        }
    }
    endLine();
    return survey;
}

} // namespace

// Pieces of CP932 and UTF-8 text, line breaks, NULs and every kind of broken sequence, put
// together at random: the survey reads each line as the decoder does.
TEST(Utf8Survey, ReadsEveryLineAsTheDecoderDoes) {
    const std::array<QByteArray, 20> pieces = {"abc",
                                               "\n",
                                               "\r",
                                               QByteArray(1, '\0'),
                                               "\x82\xA0",
                                               "\x8C\x9F\x97\xA7",
                                               "\xB1\xB2", // CP932
                                               "\xE3\x81\x82",
                                               "\xE5\x86\x99\xE7\x9C\x9F",
                                               "\xEF\xBC\xA1",
                                               "\xC3\xA9",
                                               "\xF0\x9F\x98\x80", // UTF-8
                                               "\xEF\xBF\xBD",     // U+FFFD
                                               "\xFF",
                                               "\xC0\x80",
                                               "\xE0\x80\xAF",
                                               "\xED\xA0\x80",
                                               "\xF4\x90\x80\x80",
                                               "\xE3\x81",
                                               "\x80"};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 4000; ++round) {
        QByteArray bytes;
        const int count = random.bounded(1, 12);
        for (int k = 0; k < count; ++k)
            bytes += pieces.at(random.bounded(int(pieces.size())));
        const Utf8Survey survey = surveyUtf8(bytes);
        const Utf8Survey expected = decoderReading(bytes);
        ASSERT_EQ(survey.valid, expected.valid) << bytes.toHex(' ').toStdString();
        ASSERT_EQ(survey.badLines, expected.badLines) << bytes.toHex(' ').toStdString();
        ASSERT_EQ(survey.nulLines, expected.nulLines) << bytes.toHex(' ').toStdString();
        ASSERT_EQ(survey.japaneseLines, expected.japaneseLines) << bytes.toHex(' ').toStdString();
    }
}
