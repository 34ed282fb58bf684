#include "survey/classified_file.h"

#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/file_io.h"
#include "base/output_choice.h"
#include "base/same_file.h"
#include "base/sheet_file.h"
#include "survey/classified_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace ClassifiedFile {

const QString Extension = u".spd"_s;
const QString DialogFilter = u"ｲﾝﾎﾟｰﾄﾌｧｲﾙ (*.spd)|*.spd"_s;

namespace {

const QString SaveHeadline = u"インポートファイルを書き込めませんでした。"_s;
const QString SaveRefusedHeadline = u"インポートファイルを保存しませんでした。"_s;
const QString CompanionIsItself =
    u"組になるファイル（名前の最後の文字を「2」にしたもの）がインポートファイル自身になります。"
    u"最後の文字が「2」でない名前を指定して下さい。"_s;
const QString CompanionIsImportFile =
    u"組になるファイルの名前で、別のインポートファイルがあります。上書きするとその分析が失われるため、"
    u"別の名前を指定して下さい。"_s;
const QString CompanionOfAnother =
    u"組になるファイルが、別のインポートファイルの組になるファイルと同じです。上書きするとその分析が"
    u"失われるため、別の名前を指定して下さい。"_s;
const QString CompanionLabel = u"組になるファイル: "_s;
const QString OtherImportLabel = u"別のインポートファイル: "_s;
const QString LoadHeadline = u"インポートファイルを読み込めませんでした。"_s;
constexpr int GridColumns = 4;

void quoted(QString& out, QStringView text) {
    out += u'"';
    for (QChar c : text) {
        if (c == u'"') out += u'"';
        out += c;
    }
    out += u'"';
}

QString companionText(const ClassifiedData& data) {
    QString text;
    quoted(text, data.folder);
    text += u"\r\n"_s + QString::number(data.lineCount()) + QString(u',') +
            QString::number(data.groups.size()) + u"\r\n"_s;
    for (int j = 1; j <= data.lineCount(); ++j) {
        for (int c = 0; c < ImportTable::Columns; ++c) {
            if (c > 0) text += u',';
            quoted(text, data.table.column(j, c));
        }
        text += u"\r\n"_s;
    }
    for (const ImportGroup& group : data.groups)
        text += QString::number(group.first) + QString(u',') + QString::number(group.last) + u"\r\n"_s;
    return text;
}

SheetContent gridContent(const ClassifiedData& data) {
    SheetContent content;
    content.columns = GridColumns;
    for (int r = 0; r < data.rows.size(); ++r) {
        const GroupRow& row = data.rows.at(r);
        content.rows[r + 1] = {row.key, row.sheetName, row.count, row.flag};
    }
    return content;
}

// The companion's lines, read back field by field.
class CompanionReader {
public:
    CompanionReader(const QString& path, const QString& text) : path_(path), text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    int lineNumber() const { return line_; }

    // The fields of the next line; strings come back without their quotes, numbers as written.
    QList<QStringView> next(QList<bool>& quotedFields) {
        QList<QStringView> fields;
        quotedFields.clear();
        ++line_;
        scratch_.clear();
        for (;;) {
            if (pos_ < text_.size() && text_[pos_] == u'"') {
                fields.append(quotedField());
                quotedFields.append(true);
            } else {
                const qsizetype start = pos_;
                while (pos_ < text_.size() && text_[pos_] != u',' && text_[pos_] != u'\r' &&
                       text_[pos_] != u'\n')
                    ++pos_;
                fields.append(QStringView(text_).sliced(start, pos_ - start));
                quotedFields.append(false);
            }
            if (pos_ < text_.size() && text_[pos_] == u',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size() && text_[pos_] == u'\r') ++pos_;
            if (pos_ < text_.size() && text_[pos_] == u'\n')
                ++pos_;
            else if (pos_ < text_.size())
                fail(u"区切りが正しくありません。"_s);
            return fields;
        }
    }

    [[noreturn]] void fail(const QString& reason) const {
        throw AppError(fileFailure(LoadHeadline, QDir::toNativeSeparators(path_),
                                   QString::number(line_) + u" 行目: "_s + reason));
    }

private:
    // A doubled quote inside stands for one; the text is kept in scratch_ when it had one.
    QStringView quotedField() {
        const qsizetype start = ++pos_;
        bool doubled = false;
        for (;;) {
            if (pos_ >= text_.size()) fail(u"引用符が閉じていません。"_s);
            if (text_[pos_] == u'"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'"') {
                    doubled = true;
                    pos_ += 2;
                    continue;
                }
                break;
            }
            ++pos_;
        }
        const QStringView raw = QStringView(text_).sliced(start, pos_ - start);
        ++pos_;
        if (!doubled) return raw;
        QString unescaped = raw.toString();
        unescaped.replace(u"\"\""_s, u"\""_s);
        scratch_.append(unescaped);
        return scratch_.constLast();
    }

    const QString& path_;
    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 0;
    QList<QString> scratch_;
};

int number(const CompanionReader& reader, QStringView text, bool quotedField) {
    bool ok = false;
    const int value = quotedField ? 0 : text.toInt(&ok);
    if (!ok || value < 0) reader.fail(u"数値ではありません。"_s);
    return value;
}

// The companion's text, read from the file at path or, for errors, named by it.
void readCompanion(const QString& path, const QString& text, ClassifiedData& data) {
    CompanionReader reader(path, text);
    QList<bool> quotedFields;
    const auto line = [&](int fields) {
        if (reader.atEnd()) {
            reader.next(quotedFields);
            reader.fail(u"ファイルが途中で終わっています。"_s);
        }
        QList<QStringView> values = reader.next(quotedFields);
        if (values.size() != fields)
            reader.fail(QString::number(fields) + u" 項目のはずが "_s + QString::number(values.size()) +
                        u" 項目あります。"_s);
        return values;
    };

    QList<QStringView> values = line(1);
    if (!quotedFields.at(0)) reader.fail(u"フォルダが文字列ではありません。"_s);
    data.folder = values.at(0).toString();
    values = line(2);
    const int lines = number(reader, values.at(0), quotedFields.at(0));
    const int groups = number(reader, values.at(1), quotedFields.at(1));

    data.table.clear();
    data.table.appendLine({}); // the header is not kept in the file
    for (int j = 1; j <= lines; ++j) {
        values = line(ImportTable::Columns);
        if (quotedFields.contains(false)) reader.fail(u"文字列でない項目があります。"_s);
        std::array<ImportTable::Pieces, ImportTable::Columns> columns;
        for (int c = 0; c < ImportTable::Columns; ++c)
            columns[c] = {values.at(c)};
        data.table.appendLine(columns);
    }
    data.groups.clear();
    for (int g = 0; g < groups; ++g) {
        values = line(2);
        const ImportGroup group{number(reader, values.at(0), quotedFields.at(0)),
                                number(reader, values.at(1), quotedFields.at(1))};
        if (group.first < 1 || group.first > group.last || group.last > lines)
            reader.fail(u"グループの行が 1 から "_s + QString::number(lines) + u" の範囲にありません。"_s);
        data.groups.append(group);
    }
    if (!reader.atEnd()) {
        reader.next(quotedFields);
        reader.fail(u"グループの数より多くの行があります。"_s);
    }
}

// An import file is a grid file; a companion is quoted text and never reads as one.
bool isImportFile(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    if (!file.peek(64).trimmed().startsWith('{')) return false; // no need to read a large file
    file.close();
    try {
        SheetFile::load(path);
        return true;
    } catch (const AppError&) {
        return false;
    }
}

// Another import file whose companion is `companion`: one whose name differs from it only in
// the last character.
QString importFileOwning(const QString& companion, const QString& spdPath) {
    const QFileInfo info(companion);
    const QString name = info.fileName();
    const QDir folder = info.absoluteDir();
    // Names are compared as media that fold letter case compare them.
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.size() != name.size() || !entry.startsWith(name.chopped(1), Qt::CaseInsensitive)) continue;
        const QString candidate = folder.filePath(entry);
        if (!isSameFile(candidate, companion) && !isSameFile(candidate, spdPath) && isImportFile(candidate))
            return candidate;
    }
    return {};
}

// The companion's name is the import file's with its last character made "2", so names that
// differ only there share one companion, and a name ending in "2" is its own. A save may
// replace the companion only when it is no other pair's: refused when it would be the import
// file itself, when it is an import file (a grid), or when another import file beside it has
// it as companion. A companion whose import file is gone is replaced.
void refuseTakenCompanion(const QString& spdPath, const QString& companion) {
    const auto refuse = [&](const QString& reason, const QString& other) {
        QString detail = reason + u'\n' + CompanionLabel + QDir::toNativeSeparators(companion);
        if (!other.isEmpty()) detail += u'\n' + OtherImportLabel + QDir::toNativeSeparators(other);
        throw AppError(fileFailure(SaveRefusedHeadline, spdPath, detail));
    };
    if (isSameFile(companion, spdPath)) refuse(CompanionIsItself, {});
    if (isImportFile(companion)) refuse(CompanionIsImportFile, {});
    if (const QString owner = importFileOwning(companion, spdPath); !owner.isEmpty())
        refuse(CompanionOfAnother, owner);
}

} // namespace

QString companionPath(const QString& spdPath) {
    return spdPath.isEmpty() ? spdPath : spdPath.chopped(1) + u'2';
}

QString withExtension(const QString& typedPath) {
    return typedPath.isEmpty() ? typedPath : OutputChoice::withExtension(typedPath, Extension);
}

void save(const QString& spdPath, const ClassifiedData& data) {
    const QString companion = companionPath(spdPath);
    refuseTakenCompanion(spdPath, companion);
    SheetContent grid = gridContent(data);
    grid.companionText = companionText(data);
    const AnsiCodec::Encoded encoded = AnsiCodec::encode(grid.companionText);
    if (!encoded.ok())
        throw AppError(fileFailure(SaveHeadline, QDir::toNativeSeparators(companion),
                                   u"CP932 で書けない文字があります: "_s + encoded.unmappable));
    // The import file carries its companion's text and is replaced first: a stop before it
    // leaves the old pair, a stop after it an import file that is whole with either companion.
    SheetFile::save(spdPath, grid);
    writeFileAtomically(companion, encoded.bytes, SaveHeadline);
}

ClassifiedData load(const QString& spdPath) {
    ClassifiedData data;
    const QString companion = companionPath(spdPath);
    const SheetContent grid = SheetFile::load(spdPath);
    if (!grid.companionText.isEmpty()) {
        readCompanion(spdPath, grid.companionText, data);
    } else {
        // Saved before import files carried their companion's text.
        const AnsiCodec::Decoded decoded = AnsiCodec::decode(readWholeFile(companion, LoadHeadline));
        if (const QString refusal = AnsiCodec::importRefusal(companion, decoded); !refusal.isEmpty())
            throw AppError(refusal);
        readCompanion(companion, decoded.text, data);
    }
    const auto mismatch = [&](const QString& reason) {
        return AppError(
            fileFailure(LoadHeadline, QDir::toNativeSeparators(spdPath),
                        reason + u"\n組になるファイル: "_s + QDir::toNativeSeparators(companion)));
    };
    if (grid.lastRow() != data.groups.size())
        throw mismatch(u"グループが "_s + QString::number(grid.lastRow()) +
                       u" 行ありますが、組になるファイルでは "_s + QString::number(data.groups.size()) +
                       u" 個です。"_s);
    for (int g = 0; g < data.groups.size(); ++g) {
        const auto found = grid.rows.find(g + 1);
        const QStringList cells = found == grid.rows.end() ? QStringList() : found->second;
        GroupRow row{cells.value(0), cells.value(1), cells.value(2), cells.value(3)};
        if (row.count != QString::number(data.groups.at(g).size()))
            throw mismatch(QString::number(g + 1) + u" 行目の個数 "_s + row.count +
                           u" が組になるファイルの "_s + QString::number(data.groups.at(g).size()) +
                           u" と合いません。"_s);
        data.rows.append(row);
    }
    return data;
}

} // namespace ClassifiedFile
