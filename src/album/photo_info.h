#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class PhraseBook;
class Settings;
class Workspace;

// The information of one photo as the information dialog edits it: eight free lines and the
// eleven delivery items, held in column 2 as 19 lines each ended by CR LF.
namespace PhotoInfo {

inline constexpr int FreeLines = 8;
inline constexpr int FirstItemCount = 5;  // lines 9..13, the first combo array
inline constexpr int SecondItemCount = 6; // lines 14..19, the second combo array
inline constexpr int LineCount = FreeLines + FirstItemCount + SecondItemCount;
inline constexpr int HistorySlots = 5;
// Delivery flags after the 19 lines: "1", "0" or empty (not set). Written only when one is
// set, so that rows without them keep 19 lines.
inline constexpr int RepresentativeLine = 20; // 代表写真
inline constexpr int FrequencyLine = 21;      // 提出頻度写真
inline constexpr int AllLineCount = FrequencyLine;

extern const QString RequiredItemsMissing; // "必須項目の空欄は認められません。必ず入力して下さい。"
extern const QString RowGone; // the row the dialog was opened for no longer exists
extern const QString ItemCaptions[FirstItemCount + SecondItemCount];

// Lines 1..19 of a column-2 text; missing lines read "".
QStringList linesOf(const QString& cellText);
// Lines 1..21; missing lines read "".
QStringList allLinesOf(const QString& cellText);
// Lines 1..19, each followed by CR LF, then lines 20 and 21 when either is set.
QString cellText(const QStringList& lines);

// The text a free line takes after the user typed `typed` into it: "." on line 2 or below
// repeats the line above; "*n" recalls phrase n (1..500), any other "*..." becomes the
// number it starts with.
QString applyLineRules(const QString& typed, int line, const QString& lineAbove, const PhraseBook& phrases);

// "直前複写": the delivery items of the previous text with its 提出頻度写真 (代表写真 picks one
// photo, so it stays), and its free lines too when copyFreeLines is set.
QStringList copyPrevious(const QStringList& current, const QString& previousInfo, bool copyFreeLines);

// The history slots (SettingTexts numbers, newest first) of delivery item i (0..10).
QList<int> historySlots(int item);
// The non-empty entries of item i's history, slot order.
QStringList history(const Settings& settings, int item);
// Puts each non-empty item at the head of its history unless already there.
void rememberItems(Settings& settings, const QStringList& lines);

// True when the delivery checks are on and the title or the main class is empty.
bool requiredItemsMissing(const Settings& settings, const QStringList& lines);

// OK: writes the text into the row identified by rowId (or, for a row that held nothing when
// the dialog opened, the row number openedRow while it still holds nothing), sets
// PreviousInfo and the histories. False, writing nothing, when that row no longer exists.
bool writeBack(Workspace& workspace, quint64 rowId, int openedRow, const QStringList& lines);

// The photo view: clicks zoom in on a point, a right click shows the whole photo again.
class Zoom {
public:
    static constexpr QSize ViewSize{376, 281};
    static constexpr int MaxPercent = 1000;

    int percent() const { return percent_; }
    void zoomInAt(double x, double y);
    void reset();
    // Where the source picture (of the view's size) is drawn in the view.
    QRect drawRect() const;

private:
    int percent_ = 100;
    double offsetX_ = 0;
    double offsetY_ = 0;
};

} // namespace PhotoInfo
