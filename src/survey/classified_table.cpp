#include "survey/classified_table.h"

using namespace Qt::StringLiterals;

QStringView ImportTable::column(int line, int column) const {
    const auto& ends = ends_.at(line);
    const qsizetype start = column > 0 ? ends[column - 1] : (line > 0 ? ends_.at(line - 1)[Columns - 1] : 0);
    return QStringView(text_).sliced(start, ends[column] - start);
}

void ImportTable::clear() {
    text_.clear();
    ends_.clear();
}

void ImportTable::reserve(qsizetype lines, qsizetype characters) {
    ends_.reserve(lines);
    text_.reserve(characters);
}

void ImportTable::appendLine(const std::array<Pieces, Columns>& columns) {
    std::array<qsizetype, Columns> ends;
    for (int c = 0; c < Columns; ++c) {
        for (QStringView piece : columns[c])
            if (!piece.isEmpty()) text_.append(piece);
        ends[c] = text_.size();
    }
    ends_.append(ends);
}

ClassifiedKey keyFromSetting(double value) {
    return value == 0 ? ClassifiedKey::MapName : ClassifiedKey::MapNumber;
}

int settingFromKey(ClassifiedKey key) {
    return key == ClassifiedKey::MapName ? 0 : -1;
}

QString keyCaption(ClassifiedKey key) {
    return key == ClassifiedKey::MapName ? u"公図正"_s : u"図番"_s;
}

QString presenceMark(QStringView field9) {
    return field9 == u"1" || field9 == u"2" ? u"有"_s : u"無"_s;
}

namespace {

constexpr int FieldsUsed = 9;

// Fields 1..9 of a line. A field that starts with a double quote and closes it on the line is
// read as spreadsheets write a cell holding a comma: the commas inside are its own, a doubled
// quote is one quote, and what follows the closing quote up to the next comma is kept. Every
// other field runs to the next comma as it stands, as SplitFields splits.
class LineFields {
public:
    void split(QStringView line) {
        qsizetype start = 0;
        for (int n = 0; n < FieldsUsed; ++n) {
            if (start > line.size()) {
                fields_[n] = {};
                continue;
            }
            const bool opensQuote = start < line.size() && line.at(start) == u'"';
            const qsizetype next = opensQuote ? quoted(line, start, n) : -1;
            if (next < 0) {
                const qsizetype comma = line.indexOf(u',', start);
                const qsizetype end = comma < 0 ? line.size() : comma;
                fields_[n] = line.sliced(start, end - start);
                start = end + 1;
            } else {
                start = next;
            }
        }
    }
    QStringView operator[](int n) const { return fields_[n]; }

private:
    // Field n from the quote at start; where the next field starts, or -1 when the quote is
    // not closed on the line (the field is then read unquoted).
    qsizetype quoted(QStringView line, qsizetype start, int n) {
        QString& text = texts_[n];
        text.resize(0);
        qsizetype from = start + 1;
        for (;;) {
            const qsizetype quote = line.indexOf(u'"', from);
            if (quote < 0) return -1;
            text += line.sliced(from, quote - from);
            if (quote + 1 < line.size() && line.at(quote + 1) == u'"') {
                text += u'"';
                from = quote + 2;
                continue;
            }
            const qsizetype comma = line.indexOf(u',', quote + 1);
            const qsizetype end = comma < 0 ? line.size() : comma;
            text += line.sliced(quote + 1, end - quote - 1);
            fields_[n] = text;
            return end + 1;
        }
    }

    std::array<QStringView, FieldsUsed> fields_{};
    std::array<QString, FieldsUsed> texts_; // the quoted fields, unquoted
};

} // namespace

void fillTable(ImportTable& table, const QString& text) {
    static const QString have = u"有"_s;
    static const QString haveNot = u"無"_s;
    // Lines end in LF (CR LF from Windows) or, in files without any LF, in CR alone.
    const char16_t lineEnd = text.contains(u'\n') ? u'\n' : u'\r';
    const QStringView all(text);
    table.clear();
    table.reserve(all.count(lineEnd) + 2, all.size());
    LineFields f;
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(lineEnd, start);
        if (end < 0) end = all.size();
        QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith(u'\r')) line.chop(1);

        f.split(line);
        const bool present = f[8] == u"1" || f[8] == u"2";
        table.appendLine({{{f[0]},
                           {f[2]},
                           {f[3]},
                           {f[1], f[2], f[4]},
                           {f[5]},
                           {f[6]},
                           {f[7]},
                           {present ? QStringView(have) : QStringView(haveNot)}}});
    }
}

void formGroups(ClassifiedData& data, ClassifiedKey key) {
    const int keyColumn = key == ClassifiedKey::MapName ? 1 : 0;
    data.groups.clear();
    data.rows.clear();
    const int lines = data.table.lineCount();
    for (int j = 1; j <= lines; ++j) {
        if (j > 1 && data.table.column(j, keyColumn) == data.table.column(j - 1, keyColumn)) {
            ++data.groups.last().last;
            continue;
        }
        data.groups.append({j, j});
    }
    data.rows.reserve(data.groups.size());
    for (const ImportGroup& group : std::as_const(data.groups)) {
        const QString groupKey = data.table.column(group.first, keyColumn).toString();
        data.rows.append(
            {groupKey,
             key == ClassifiedKey::MapName ? data.table.column(group.first, 2).toString() : groupKey,
             QString::number(group.size()),
             {}});
    }
}
