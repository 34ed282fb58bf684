#include "workspace/settings_file.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"

#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kCannotRead = u"設定ファイルを読み込めません。"_s;
const QString kCannotWrite = u"設定ファイルを書き込めません。"_s;
// 250 short lines; a file many times that size is not a settings file.
constexpr qint64 MaxFileBytes = 1024 * 1024;

// Files made on Windows end lines in CR LF, others in LF, very old ones in CR alone. When LF
// occurs it alone ends a line; a CR left before it is dropped with the blanks, so a file that
// went through a double CR LF conversion does not get a blank line after every value.
QStringList splitLines(const QString& text) {
    QStringList lines = text.contains(u'\n') ? text.split(u'\n') : text.split(u'\r');
    // The terminator of the last line leaves an empty piece behind; it is not a line.
    if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
    return lines;
}

QString trimmedLine(const QString& line) {
    // A text is read the same way as an item; only the number test is skipped.
    return SettingValue::fromLine(line).text;
}

} // namespace

namespace SettingsFile {

Settings parse(const QByteArray& bytes, int* linesRead, QList<int>* badLines) {
    Settings settings = Settings::defaults();
    const AnsiCodec::Decoded decoded = AnsiCodec::decode(bytes);
    if (badLines) *badLines = decoded.badLines;
    const QStringList lines = splitLines(decoded.text);
    const int count = static_cast<int>(std::min<qsizetype>(lines.size(), LineCount));
    for (int i = 0; i < count; ++i) {
        if (i < Settings::ItemCount)
            settings.setItem(i + 1, SettingValue::fromLine(lines.at(i)));
        else
            settings.setText(i - Settings::ItemCount + 1, trimmedLine(lines.at(i)));
    }
    if (linesRead) *linesRead = count;
    return settings;
}

ReadResult ReadSettingsFile(const QString& path, bool startupRules) {
    ReadResult result;
    if (!QFileInfo::exists(path)) {
        result.settings = Settings::defaults();
    } else {
        const QByteArray bytes = readWholeFile(path, kCannotRead, MaxFileBytes);
        result.existed = true;
        QList<int> badLines;
        result.settings = parse(bytes, &result.linesRead, &badLines);
        if (!badLines.isEmpty()) result.unreadableReport = AnsiCodec::undecodableReport(path, badLines);
    }
    if (startupRules && result.settings.itemIsUnset(SettingItem::SplitByHyphen))
        result.settings.setItem(SettingItem::SplitByHyphen, SettingValue::number(0));
    return result;
}

Encoded serialize(const Settings& settings) {
    Encoded result;
    result.bytes.reserve(LineCount * 8);
    for (int line = 1; line <= LineCount; ++line) {
        const bool isItem = line <= Settings::ItemCount;
        const int n = isItem ? line : line - Settings::ItemCount;
        QString text;
        if (isItem) {
            const SettingValue& value = settings.item(n);
            text = value.text;
            if (value.isNumber) text = (text.startsWith(u'-') ? QString() : u" "_s) + text + u' ';
        } else {
            text = settings.text(n);
        }

        // A line break inside a value would move every later value to the wrong position.
        const bool hadBreak = text.contains(u'\r') || text.contains(u'\n');
        if (hadBreak) {
            text.replace(u"\r\n"_s, u" "_s);
            text.replace(u'\r', u' ');
            text.replace(u'\n', u' ');
        }

        const AnsiCodec::Encoded encoded = AnsiCodec::encode(text);
        result.bytes += encoded.bytes;
        result.bytes += "\r\n";

        QStringList faults;
        if (!encoded.ok()) faults << encoded.unmappable;
        if (hadBreak) faults << u"改行"_s;
        if (!faults.isEmpty()) {
            result.problems << u"行 %1 (%2 %3): %4"_s.arg(QString::number(line),
                                                          isItem ? u"項目"_s : u"文字列"_s,
                                                          QString::number(n), faults.join(u", "_s));
        }
    }
    return result;
}

QStringList WriteSettingsFile(const QString& path, const Settings& settings) {
    const Encoded encoded = serialize(settings);
    writeFileAtomically(path, encoded.bytes, kCannotWrite);
    return encoded.problems;
}

} // namespace SettingsFile
