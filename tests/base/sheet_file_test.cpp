#include "base/app_error.h"
#include "base/sheet_file.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

SheetContent sample() {
    SheetContent content;
    content.columns = 4;
    content.rows[1] = {QString(), u"一行目\r\n\"引用\"\\\t\r\n"_s, u"3"_s, u"C:\\写真\\a.jpg"_s};
    content.rows[5] = {QString(), QString(), QString(), u"/photos/b.jpg"_s};
    return content;
}

std::string failureOf(const QByteArray& bytes) {
    try {
        SheetFile::parse(bytes);
    } catch (const AppError& error) {
        return error.message().toStdString();
    }
    return "accepted";
}

} // namespace

TEST(SheetFile, RoundTripsCellTextsExactlyWithGapsBetweenRows) {
    const SheetContent content = sample();
    const QByteArray bytes = SheetFile::serialize(content);
    EXPECT_TRUE(bytes.startsWith(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4,)"));
    EXPECT_TRUE(bytes.contains(R"({"row": 5, "cells": {"4": "/photos/b.jpg"}})"));
    EXPECT_EQ(SheetFile::parse(bytes), content);
}

TEST(SheetFile, RowsWithoutTextAreNotWritten) {
    SheetContent content;
    content.columns = 2;
    content.rows[3] = {QString(), QString()};
    EXPECT_EQ(SheetFile::parse(SheetFile::serialize(content)).rows.size(), 0u);
}

TEST(SheetFile, RefusesWhatIsNotASheetFile) {
    EXPECT_NE(failureOf("not json"), "accepted");
    EXPECT_NE(failureOf(R"({"format": "other", "version": 1, "columns": 4, "rows": []})"), "accepted");
    EXPECT_NE(failureOf(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4,
        "rows": [{"row": 1, "cells": {"5": "x"}}]})"),
              "accepted");
    EXPECT_NE(failureOf(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4,
        "rows": [{"row": 1, "cells": {}}, {"row": 1, "cells": {}}]})"),
              "accepted");
    EXPECT_NE(failureOf(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4,
        "rows": [{"row": 0, "cells": {}}]})"),
              "accepted");
    EXPECT_NE(failureOf(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4,
        "rows": [{"row": 1, "cells": {"2": 7}}]})"),
              "accepted");
    EXPECT_NE(
        failureOf(R"({"format": "tovenla2-sheet", "version": 2, "columns": 4, "rows": []})").find("新しい版"),
        std::string::npos);
}

// A hand-edited file must be refused, not allocated or cast past the range of a row number.
TEST(SheetFile, RefusesHugeColumnCountsAndRowNumbersBeyondRange) {
    EXPECT_NE(failureOf(R"({"format": "tovenla2-sheet", "version": 1, "columns": 2000000000,
        "rows": [{"row": 1, "cells": {}}]})"),
              "accepted");
    for (const char* row : {"1e10", "2147483648", "1.5", "-1e300"})
        EXPECT_NE(
            failureOf(
                QByteArray(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4, "rows": [{"row": )") +
                row + R"(, "cells": {}}]})"),
            "accepted")
            << row;
    EXPECT_EQ(SheetFile::parse(R"({"format": "tovenla2-sheet", "version": 1, "columns": 4,
        "rows": [{"row": 2147483647, "cells": {"1": "x"}}]})")
                  .lastRow(),
              2147483647);
}

TEST(SheetFile, SaveReplacesAnExistingFileAndFailuresNameTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"album.dat"_s);
    SheetFile::save(path, sample());
    SheetContent smaller;
    smaller.columns = 4;
    SheetFile::save(path, smaller);
    EXPECT_EQ(SheetFile::load(path), smaller);

    try {
        SheetFile::load(dir.filePath(u"missing.dat"_s));
        FAIL() << "loaded a missing file";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().contains(u"missing.dat"_s));
    }
    try {
        SheetFile::save(dir.filePath(u"no/such/folder/a.dat"_s), smaller);
        FAIL() << "saved into a missing folder";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.message().startsWith(u"ファイルを保存できませんでした。"_s));
    }
}
