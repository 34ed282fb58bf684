#pragma once

#include <QByteArrayView>
#include <QList>

// What reading a file as UTF-8 says line by line (lines from 1), from the bytes alone and as
// Qt's decoder would read them: every CP932 file is surveyed this way when it is read, and its
// text as UTF-8 is then never needed.
struct Utf8Survey {
    bool valid = true;        // well-formed throughout
    QList<int> badLines;      // lines holding a broken sequence, or U+FFFD in a broken file
    QList<int> nulLines;      // NUL is U+0000 in either reading
    QList<int> japaneseLines; // the other lines holding kana, ideographs or full-width forms
};

Utf8Survey surveyUtf8(QByteArrayView bytes);
