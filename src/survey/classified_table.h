#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <array>

// The lines of a crew's classified CSV as the import works on them: line 0 is the header,
// lines 1..lineCount() the data. Each line has eight columns:
//   0 field 1, 1 field 3, 2 field 4, 3 fields 2, 3 and 5 joined, 4 field 6,
//   5 field 7 (near photo), 6 field 8 (far photo), 7 "有" or "無" from field 9.
// The texts of all columns share one buffer, so a list of a hundred thousand lines costs a few
// allocations instead of a million.
class ImportTable {
public:
    static constexpr int Columns = 8;

    int lineCount() const { return ends_.isEmpty() ? 0 : int(ends_.size()) - 1; } // the header not counted
    bool isEmpty() const { return ends_.size() <= 1; }
    QStringView column(int line, int column) const;

    // A column given as up to three pieces, written one after the other.
    using Pieces = std::array<QStringView, 3>;

    void clear();
    void appendLine(const std::array<Pieces, Columns>& columns);
    void reserve(qsizetype lines, qsizetype characters);

private:
    QString text_;
    // End of each column of each line in text_; a column starts where the one before ends.
    QList<std::array<qsizetype, Columns>> ends_;
};

// A run of consecutive data lines with the same key.
struct ImportGroup {
    int first = 0;
    int last = 0;
    int size() const { return last - first + 1; }
    bool operator==(const ImportGroup&) const = default;
};

// One row of the group list: "分類キー", "シート名" (the user may edit it), "個数" and the
// flag "1" once the group has been imported.
struct GroupRow {
    QString key;
    QString sheetName;
    QString count;
    QString flag;
    bool operator==(const GroupRow&) const = default;
};

enum class ClassifiedKey { MapName, MapNumber }; // "公図正" (field 3), "図番" (field 1)

// Settings item 10 holds 0 for "公図正", -1 for "図番".
ClassifiedKey keyFromSetting(double value);
int settingFromKey(ClassifiedKey key);
QString keyCaption(ClassifiedKey key);

// What the dialog and the commands hold between their steps.
struct ClassifiedData {
    ImportTable table;
    QList<ImportGroup> groups;
    QList<GroupRow> rows; // one per group
    QString folder;       // the CSV's folder with its closing separator

    int lineCount() const { return table.lineCount(); }
};

// "有" when field 9 is exactly "1" or "2", else "無".
QString presenceMark(QStringView field9);

// Splits text into lines at CR LF, LF or CR; the break after the last line starts no line.
// Fills the table with every line, the first being the header. Fields end at commas, except
// that a field a spreadsheet quoted ("コンクリート杭,頭部欠損") is read whole and unquoted.
void fillTable(ImportTable& table, const QString& text);

// The runs of equal keys among the data lines and their rows for the group list.
void formGroups(ClassifiedData& data, ClassifiedKey key);
