#include "workspace/settings_file.h"

#include "base/app_error.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray joinLines(const QList<QByteArray>& lines, const QByteArray& eol = "\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + eol;
    return bytes;
}

// "写真" and "工区　①" (with a full-width blank and a circled digit) in CP932.
const QByteArray kPhotoCp932 = "\x8e\xca\x90\x5e";
const QByteArray kSectionCp932 = "\x8d\x48\x8b\xe6\x81\x40\x87\x40";

} // namespace

TEST(SettingsFile, ReadThenWriteGivesTheCanonicalFile) {
    QList<QByteArray> input(SettingsFile::LineCount);
    QList<QByteArray> expected(SettingsFile::LineCount);
    const auto line = [&](int number, const QByteArray& in, const QByteArray& out) {
        input[number - 1] = in;
        expected[number - 1] = out;
    };
    line(1, "\t 500  ", " 500 ");
    line(2, " 1 ", " 1 ");
    line(3, kPhotoCp932 + " LBP", kPhotoCp932 + " LBP");
    line(4, "*", "*");
    line(9, "C:\\photos\\a,b\\free.xls", "C:\\photos\\a,b\\free.xls");
    line(10, "-3", "-3 ");
    line(12, "10.5", " 10.5 ");
    line(13, "007", "007");
    line(25, "*", "*");
    line(28, "*", " 0 ");
    line(57, "  " + kSectionCp932 + "\t", kSectionCp932);
    line(58, " 5 ", "5"); // texts are always written bare
    line(250, "last", "last");

    QTemporaryDir dir;
    const QString path = dir.filePath(u"tovenla.ini"_s);
    writeBytes(path, joinLines(input));

    const SettingsFile::ReadResult read = SettingsFile::ReadSettingsFile(path, true);
    ASSERT_TRUE(read.complete());
    const Settings& s = read.settings;
    EXPECT_EQ(s.item(1), SettingValue::number(500));
    EXPECT_EQ(s.itemText(SettingItem::PrinterName), u"写真 LBP"_s);
    EXPECT_EQ(s.itemText(SettingItem::FreeTemplatePath), u"C:\\photos\\a,b\\free.xls"_s);
    EXPECT_EQ(s.itemInt(SettingItem::ImportKeyKind), -3);
    EXPECT_TRUE(s.itemIsUnset(SettingItem::AutoFillFromFile)); // left for the settings dialog
    EXPECT_FALSE(s.itemIsOn(SettingItem::ShowThumbnails));
    EXPECT_EQ(s.item(SettingItem::SplitByHyphen), SettingValue::number(0));
    EXPECT_EQ(s.text(7), u"工区　①"_s);
    EXPECT_TRUE(s.text(200) == u"last"_s && s.text(199).isEmpty());

    EXPECT_TRUE(SettingsFile::WriteSettingsFile(path, s).isEmpty());
    EXPECT_EQ(readBytes(path), joinLines(expected));

    // The dialog's "load" reads the same file without the start-up rule.
    EXPECT_TRUE(
        SettingsFile::ReadSettingsFile(path, false).settings.itemIsUnset(SettingItem::AutoFillFromFile));
    writeBytes(path, joinLines(input));
    EXPECT_TRUE(SettingsFile::ReadSettingsFile(path, false).settings.itemIsUnset(SettingItem::SplitByHyphen));
}

TEST(SettingsFile, LineEndingsOfOtherSystemsReadTheSame) {
    const QList<QByteArray> lines = {" 800 ", "0", "", "*", "x,y"};
    const Settings reference = SettingsFile::parse(joinLines(lines));
    for (const QByteArray eol : {"\n", "\r", "\r\r\n"}) {
        int linesRead = 0;
        EXPECT_EQ(SettingsFile::parse(joinLines(lines, eol), &linesRead), reference) << eol.toHex().data();
        EXPECT_EQ(linesRead, 5) << eol.toHex().data();
    }
    // UTF-8 with a byte order mark, as other editors save it.
    EXPECT_EQ(SettingsFile::parse("\xEF\xBB\xBF" + joinLines(lines)), reference);
}

TEST(SettingsFile, ShortLongAndMissingFiles) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tovenla.ini"_s);
    const Settings defaults = Settings::defaults();

    // Missing: defaults, and written out they make a complete file.
    SettingsFile::ReadResult read = SettingsFile::ReadSettingsFile(path, true);
    EXPECT_FALSE(read.existed);
    EXPECT_EQ(read.settings, defaults);
    SettingsFile::WriteSettingsFile(path, read.settings);
    read = SettingsFile::ReadSettingsFile(path, true);
    ASSERT_TRUE(read.complete());
    for (int n = 1; n <= Settings::ItemCount; ++n)
        EXPECT_EQ(read.settings.itemText(n), defaults.itemText(n)) << n;
    for (int n = 1; n <= Settings::TextCount; ++n)
        EXPECT_EQ(read.settings.text(n), defaults.text(n)) << n;

    // Short, the last line without its terminator: the rest keeps the defaults.
    writeBytes(path, " 200 \r\n\r\n0");
    read = SettingsFile::ReadSettingsFile(path, true);
    EXPECT_TRUE(read.existed);
    EXPECT_EQ(read.linesRead, 3);
    EXPECT_FALSE(read.complete());
    EXPECT_EQ(read.settings.itemInt(SettingItem::AlbumMaxRows), 200);
    EXPECT_FALSE(read.settings.itemIsOn(SettingItem::ShowFilePreview)); // an empty line is a value
    EXPECT_EQ(read.settings.item(SettingItem::PrinterName), SettingValue::number(0));
    EXPECT_EQ(read.settings.item(SettingItem::AutoFillFromFile),
              defaults.item(SettingItem::AutoFillFromFile));
    EXPECT_EQ(read.settings.text(200), defaults.text(200));

    // Longer than 250 lines: the extra lines are ignored.
    QList<QByteArray> lines;
    for (int i = 1; i <= 260; ++i)
        lines << QByteArray::number(i) + 'x';
    writeBytes(path, joinLines(lines));
    read = SettingsFile::ReadSettingsFile(path, true);
    EXPECT_EQ(read.linesRead, SettingsFile::LineCount);
    EXPECT_EQ(read.settings.text(200), u"250x"_s);
    SettingsFile::WriteSettingsFile(path, read.settings);
    EXPECT_EQ(readBytes(path).count("\r\n"), SettingsFile::LineCount);
}

TEST(SettingsFile, UnwritableCharactersAreReportedAndEverythingElseIsWritten) {
    Settings s = Settings::defaults();
    s.setItem(SettingItem::PrinterName, SettingValue::string(u"P한"_s));
    s.setText(7, u"A😀B"_s);
    s.setText(8, u"工区"_s);
    s.setText(10, u"two\r\nlines"_s);
    s.setText(11, u"after"_s);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"tovenla.ini"_s);
    const QStringList problems = SettingsFile::WriteSettingsFile(path, s);
    EXPECT_EQ(problems,
              QStringList({u"行 3 (項目 3): 한"_s, u"行 57 (文字列 7): 😀"_s, u"行 60 (文字列 10): 改行"_s}));

    const SettingsFile::ReadResult read = SettingsFile::ReadSettingsFile(path, true);
    ASSERT_TRUE(read.complete());
    EXPECT_EQ(read.settings.itemText(SettingItem::PrinterName), u"P?"_s);
    EXPECT_EQ(read.settings.text(7), u"A?B"_s);
    EXPECT_EQ(read.settings.text(8), u"工区"_s);
    EXPECT_EQ(read.settings.text(10), u"two lines"_s);
    EXPECT_EQ(read.settings.text(11), u"after"_s); // still in its own place
}

TEST(SettingsFile, FailuresNameTheFile) {
    QTemporaryDir dir;
    // An existing path that is not a readable file.
    const QString folder = dir.filePath(u"tovenla.ini"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    try {
        SettingsFile::ReadSettingsFile(folder, true);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().startsWith(u"設定ファイルを読み込めません。\n"_s));
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(folder)));
    }

    const QString nowhere = dir.filePath(u"missing/tovenla.ini"_s);
    try {
        SettingsFile::WriteSettingsFile(nowhere, Settings::defaults());
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.message().startsWith(u"設定ファイルを書き込めません。\n"_s));
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(nowhere)));
    }
}

// A value of half-width katakana alone is valid UTF-8 too; it must still come back as
// katakana and be written back byte for byte. An unreadable byte is reported on reading.
TEST(SettingsFile, HalfWidthKanaSurvivesAndUnreadableBytesAreReportedOnReading) {
    QList<QByteArray> lines(SettingsFile::LineCount, QByteArray());
    lines[50] = "\xCB\xB6\xDE\xBC"; // ﾋｶﾞｼ
    lines[51] = "ab\x80";
    QTemporaryDir dir;
    const QString path = dir.filePath(u"tovenla.ini"_s);
    writeBytes(path, joinLines(lines));
    const SettingsFile::ReadResult read = SettingsFile::ReadSettingsFile(path, true);
    EXPECT_EQ(read.settings.text(1), u"ﾋｶﾞｼ"_s);
    EXPECT_TRUE(read.unreadableReport.contains(u"行 52"_s));

    const SettingsFile::Encoded written = SettingsFile::serialize(read.settings);
    EXPECT_TRUE(written.bytes.contains("\r\n\xCB\xB6\xDE\xBC\r\nab?\r\n"));
    EXPECT_TRUE(written.problems.isEmpty());
}
