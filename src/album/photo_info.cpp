#include "album/photo_info.h"

#include "base/shared_routines.h"
#include "workspace/phrase_book.h"
#include "workspace/settings.h"
#include "workspace/workspace.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace PhotoInfo {

const QString RequiredItemsMissing = u"必須項目の空欄は認められません。必ず入力して下さい。"_s;
const QString RowGone =
    u"この情報を設定していた行は削除されたため、書き込めません。写真帳から開き直して下さい。"_s;
const QString ItemCaptions[FirstItemCount + SecondItemCount] = {
    QString(),       u"写真タイトル"_s, u"請負者説明文"_s, u"写真・大分類"_s, u"撮影年月日"_s, u"写真区分"_s,
    u"工　　　種"_s, u"種　　　別"_s,   u"細　　　別"_s,   u"撮影箇所"_s,     u"施工管理値"_s,
};

namespace {

constexpr int TitleLine = 10;
constexpr int MainClassLine = 12;

} // namespace

QStringList linesOf(const QString& cellText) {
    const FieldBuffer pieces = SplitLines(cellText);
    QStringList lines;
    for (int n = 1; n <= LineCount; ++n)
        lines << pieces(n);
    return lines;
}

QStringList allLinesOf(const QString& cellText) {
    const FieldBuffer pieces = SplitLines(cellText);
    QStringList lines;
    for (int n = 1; n <= AllLineCount; ++n)
        lines << pieces(n);
    return lines;
}

QString cellText(const QStringList& lines) {
    const bool flagged =
        !lines.value(RepresentativeLine - 1).isEmpty() || !lines.value(FrequencyLine - 1).isEmpty();
    QString text;
    for (int n = 0; n < (flagged ? AllLineCount : LineCount); ++n)
        text += lines.value(n) + u"\r\n"_s;
    return text;
}

QString applyLineRules(const QString& typed, int line, const QString& lineAbove, const PhraseBook& phrases) {
    QString text = typed;
    if (text == u"."_s && line >= 2) text = lineAbove;
    if (!text.startsWith(u'*')) return text;
    if (const auto phrase = phrases.recall(text)) return *phrase;
    return SettingValue::number(PhraseBook::recallNumber(text)).text;
}

QStringList copyPrevious(const QStringList& current, const QString& previousInfo, bool copyFreeLines) {
    const QStringList previous = allLinesOf(previousInfo);
    QStringList lines = allLinesOf(cellText(current));
    for (int n = copyFreeLines ? 0 : FreeLines; n < LineCount; ++n)
        lines[n] = previous.at(n);
    lines[FrequencyLine - 1] = previous.at(FrequencyLine - 1);
    return lines;
}

QList<int> historySlots(int item) {
    const int first = item < FirstItemCount
                          ? SettingText::InfoItemHistoryFirst + HistorySlots * item
                          : SettingText::InfoItemLaterHistoryFirst + HistorySlots * (item - FirstItemCount);
    QList<int> slotNumbers;
    for (int s = 0; s < HistorySlots; ++s)
        slotNumbers << first + s;
    return slotNumbers;
}

QStringList history(const Settings& settings, int item) {
    QStringList entries;
    for (int slot : historySlots(item))
        if (!settings.text(slot).isEmpty()) entries << settings.text(slot);
    return entries;
}

void rememberItems(Settings& settings, const QStringList& lines) {
    for (int item = 0; item < FirstItemCount + SecondItemCount; ++item) {
        const QString text = lines.value(FreeLines + item);
        if (text.isEmpty()) continue;
        const QList<int> slotNumbers = historySlots(item);
        const int listed = int(history(settings, item).size());
        bool known = false;
        for (int s = 0; s < listed; ++s)
            known = known || settings.text(slotNumbers.at(s)) == text;
        if (known) continue;
        for (int s = listed; s >= 1; --s)
            if (s < HistorySlots) settings.setText(slotNumbers.at(s), settings.text(slotNumbers.at(s - 1)));
        settings.setText(slotNumbers.at(0), text);
    }
}

bool requiredItemsMissing(const Settings& settings, const QStringList& lines) {
    if (settings.itemNumber(SettingItem::DeliveryChecks) == 0) return false;
    return lines.value(TitleLine - 1).isEmpty() || lines.value(MainClassLine - 1).isEmpty();
}

bool writeBack(Workspace& workspace, quint64 rowId, int openedRow, const QStringList& lines) {
    int row = 0;
    if (rowId != 0)
        row = workspace.SS1.rowOfId(rowId);
    else if (openedRow > workspace.SS1.dataRowCount())
        row = openedRow; // still nothing there: no other photo has taken its place
    if (row < 1 || row > workspace.AlbumMaxRows) return false;

    const QString text = cellText(lines);
    QList<AlbumRow> rows = workspace.SS1.rows();
    if (rows.size() < row) rows.resize(row);
    rows[row - 1].info = text;
    workspace.replaceRows(u"情報設定"_s, std::move(rows), 1);
    workspace.PreviousInfo = text;
    rememberItems(workspace.settings, lines);
    return true;
}

void Zoom::zoomInAt(double x, double y) {
    const int old = percent_;
    percent_ = std::min(old + 200, MaxPercent);
    const double centreX = ViewSize.width() / 2.0;
    const double centreY = ViewSize.height() / 2.0;
    offsetX_ = (x - centreX + offsetX_) * percent_ / old;
    offsetY_ = (y - centreY + offsetY_) * percent_ / old;
}

void Zoom::reset() {
    percent_ = 100;
    offsetX_ = 0;
    offsetY_ = 0;
}

QRect Zoom::drawRect() const {
    const int width = int(percent_ / 100.0 * ViewSize.width());
    const int height = int(percent_ / 100.0 * ViewSize.height());
    const double left = -offsetX_ - (width - ViewSize.width()) / 2.0;
    const double top = -offsetY_ - (height - ViewSize.height()) / 2.0;
    return QRect(int(std::lround(left)), int(std::lround(top)), width, height);
}

} // namespace PhotoInfo
