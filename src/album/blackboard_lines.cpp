#include "album/blackboard_lines.h"

#include "album/photo_info.h"
#include "base/photo_file.h"
#include "base/prompts.h"
#include "workspace/workspace.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace BlackboardLines {

const QString CommandName = u"黒板情報を取り込む"_s;

namespace {

constexpr int FirstLine = 10;
// A message box cannot show hundreds of lines; the rest is counted.
constexpr int ListedNotes = 10;

QString flag(const QString& value) {
    const QString v = value.trimmed();
    if (v.compare(u"True"_s, Qt::CaseInsensitive) == 0 || v == u"1"_s) return u"1"_s;
    if (v.compare(u"False"_s, Qt::CaseInsensitive) == 0 || v == u"0"_s) return u"0"_s;
    return {};
}

QString measured(const QString& label, const QString& value, const QString& unit) {
    return value.isEmpty() ? QString() : label + u' ' + value + unit;
}

// Anything after the 21st line end, which a rewrite of the lines would drop.
bool holdsTextPastLastLine(const QString& info) {
    qsizetype at = 0;
    for (int n = 0; n < PhotoInfo::AllLineCount; ++n) {
        at = info.indexOf(u"\r\n"_s, at);
        if (at < 0) return false;
        at += 2;
    }
    return at < info.size();
}

QList<int> rowRange(int first, int last) {
    QList<int> rows;
    for (int r = first; r <= last; ++r)
        rows << r;
    return rows;
}

} // namespace

QString measurementText(const QList<MeasurementItem>& items) {
    QStringList texts;
    for (const MeasurementItem& item : items) {
        QStringList parts{item.name, measured(u"設計"_s, item.designedValue, item.unitName),
                          measured(u"実測"_s, item.measuredValue, item.unitName)};
        parts.removeAll(QString());
        if (!parts.isEmpty()) texts << parts.join(u' ');
    }
    return texts.join(u"、"_s);
}

QStringList linesOf(const BlackboardReading& reading) {
    QStringList lines(PhotoInfo::AllLineCount);
    if (!reading.found) return lines;
    const Blackboard& b = reading.blackboard;
    const QStringList given{b.title,
                            b.contractorRemarks,
                            b.largeClassification,
                            reading.taken.isValid() ? reading.taken.toString(u"yyyy-MM-dd"_s) : QString(),
                            b.photoClassification,
                            b.constructionType,
                            b.middleClassification,
                            b.smallClassification,
                            b.shootingSpot,
                            measurementText(b.measurementItems),
                            flag(b.isRepresentative),
                            flag(b.isFrequencyOfSubmission)};
    for (qsizetype i = 0; i < given.size(); ++i)
        lines[FirstLine - 1 + i] = given.at(i);
    return lines;
}

QStringList withEmptyLinesFilled(QStringList lines, const QStringList& blackboardLines) {
    while (lines.size() < PhotoInfo::AllLineCount)
        lines << QString();
    for (int n = FirstLine; n <= PhotoInfo::AllLineCount; ++n)
        if (lines.at(n - 1).isEmpty()) lines[n - 1] = blackboardLines.value(n - 1);
    return lines;
}

bool fillInfo(QString& info, const BlackboardReading& reading) {
    if (!reading.found) return false;
    if (holdsTextPastLastLine(info)) return false;
    const QStringList before = PhotoInfo::allLinesOf(info);
    const QStringList after = withEmptyLinesFilled(before, linesOf(reading));
    if (after == before) return false;
    info = PhotoInfo::cellText(after);
    return true;
}

Summary fillRows(QList<AlbumRow>& rows, const QList<int>& which) {
    Summary summary;
    for (int r : which) {
        if (r < 1 || r > rows.size()) continue;
        AlbumRow& row = rows[r - 1];
        if (row.path.isEmpty()) continue;
        const BlackboardReading reading = BlackboardXmp::read(PhotoFile::resolve(row.path));
        if (!reading.note.isEmpty())
            summary.notes << QDir::toNativeSeparators(row.path) + u": "_s + reading.note;
        if (!reading.found) {
            ++summary.withoutBlackboard;
            continue;
        }
        if (fillInfo(row.info, reading)) ++summary.filledRows;
    }
    return summary;
}

void fillPlaced(const Workspace& workspace, QList<AlbumRow>& rows, int first, int last) {
    if (workspace.FillFromBlackboard) fillRows(rows, rowRange(first, last));
}

Summary importIntoSheet(Workspace& workspace, const QList<int>& sheetRows) {
    QList<AlbumRow> rows = workspace.SS1.rows();
    const Summary summary =
        fillRows(rows, sheetRows.isEmpty() ? rowRange(1, workspace.SS1.dataRowCount()) : sheetRows);
    if (summary.filledRows > 0) workspace.replaceRows(CommandName, std::move(rows), 1);
    return summary;
}

void importFromPhotos(Workspace& workspace, Prompts& prompts, const QList<int>& sheetRows) {
    Summary summary;
    {
        BusyScope busy(prompts);
        summary = importIntoSheet(workspace, sheetRows);
    }
    prompts.tell(summaryText(summary), CommandName, Prompts::Icon::Information);
}

QString summaryText(const Summary& summary) {
    QString text = QString::number(summary.filledRows) + u" 行に黒板情報を取り込みました。"_s;
    if (summary.withoutBlackboard > 0)
        text += u"\r\n黒板情報のない写真: "_s + QString::number(summary.withoutBlackboard) + u" 枚"_s;
    for (qsizetype i = 0; i < summary.notes.size() && i < ListedNotes; ++i)
        text += u"\r\n"_s + summary.notes.at(i);
    if (summary.notes.size() > ListedNotes)
        text += u"\r\nほか "_s + QString::number(summary.notes.size() - ListedNotes) + u" 件"_s;
    return text;
}

} // namespace BlackboardLines
