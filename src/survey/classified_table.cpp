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

// Fields 1..9 of a line split at every comma, as SplitFields splits them.
std::array<QStringView, FieldsUsed> fieldsOf(QStringView line) {
    std::array<QStringView, FieldsUsed> fields{};
    qsizetype start = 0;
    for (int n = 0; n < FieldsUsed; ++n) {
        const qsizetype comma = line.indexOf(u',', start);
        if (comma < 0) {
            fields[n] = line.sliced(start);
            break;
        }
        fields[n] = line.sliced(start, comma - start);
        start = comma + 1;
    }
    return fields;
}

} // namespace

void fillTable(ImportTable& table, const QString& text) {
    static const QString have = u"有"_s;
    static const QString haveNot = u"無"_s;
    // Lines end in LF (CR LF from Windows) or, in files without any LF, in CR alone.
    const char16_t lineEnd = text.contains(u'\n') ? u'\n' : u'\r';
    const QStringView all(text);
    table.clear();
    table.reserve(all.count(lineEnd) + 2, all.size());
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(lineEnd, start);
        if (end < 0) end = all.size();
        QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith(u'\r')) line.chop(1);

        const auto f = fieldsOf(line);
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
