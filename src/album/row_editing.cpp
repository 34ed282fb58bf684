#include "album/row_editing.h"

#include "base/prompts.h"
#include "base/shared_routines.h"
#include "workspace/settings.h"
#include "workspace/workspace.h"

#include <algorithm>
#include <cmath>
#include <utility>

using namespace Qt::StringLiterals;

namespace RowEditing {

const QString InsertRefused = u"これ以上行を挿入できません。"_s;
const QString DeleteQuestionTitle = u"削除確認"_s;
const QString ReorderQuestion =
    u"番号順に並替えを実行しますか。いいえを選んだ場合でも選択番号はクリアーされます。"_s;
const QString ReorderQuestionTitle = u"並替え確認"_s;

namespace {

constexpr int NaturalKeyLength = 40;

QList<AlbumRow> rowsUpTo(const Workspace& workspace, int row) {
    QList<AlbumRow> rows = workspace.SS1.rows();
    if (rows.size() < row) rows.resize(row);
    return rows;
}

} // namespace

QString deleteQuestion(int first, int last) {
    return QString::number(first) + u"～"_s + QString::number(last) + u"のデータを削除します。"_s;
}

double orderNumber(const QString& text) {
    // Halves go to the even neighbour, as the number columns have always been read.
    return std::nearbyint(SettingValue::string(text).toNumber());
}

void InsertRow(Workspace& workspace, Prompts& prompts, int cursorRow) {
    workspace.UpdateRowTotal();
    if (workspace.AlbumMaxRows < workspace.AlbumRowCount + 1) {
        prompts.tell(InsertRefused, u"確認"_s, Prompts::Icon::Question);
        return;
    }
    QList<AlbumRow> rows = workspace.SS1.rows();
    if (cursorRow >= 1 && cursorRow <= rows.size()) rows.insert(cursorRow - 1, AlbumRow());
    workspace.replaceRows(u"行挿入"_s, std::move(rows), 1);
}

bool DeleteRows(Workspace& workspace, Prompts& prompts, int first, int last) {
    if (first > last) std::swap(first, last);
    if (prompts.ask(deleteQuestion(first, last), DeleteQuestionTitle, Prompts::Icon::Information) !=
        Prompts::Answer::Yes)
        return false;
    QList<AlbumRow> rows = workspace.SS1.rows();
    const qsizetype from = std::max(first, 1) - 1;
    if (from < rows.size()) rows.remove(from, std::min<qsizetype>(last - from, rows.size() - from));
    workspace.replaceRows(u"行削除"_s, std::move(rows), 1);
    return true;
}

void NumberByClick(Workspace& workspace, int row) {
    if (row < 1 || row > workspace.AlbumMaxRows) return;
    const int number = workspace.ClickCounter + 1;
    QList<AlbumRow> rows = rowsUpTo(workspace, row);
    rows[row - 1].number = QString::number(number);
    workspace.replaceRows(u"番号"_s, std::move(rows), workspace.SheetModified, number);
}

void NumberByFirstLine(Workspace& workspace) {
    workspace.UpdateRowTotal();
    QList<AlbumRow> rows = workspace.SS1.rows();
    QList<std::pair<QString, int>> keys;
    for (int r = 1; r <= rows.size(); ++r) {
        const QString key = NaturalKey(SplitLines(rows.at(r - 1).info)(1));
        if (!key.isEmpty()) keys.append({key.left(NaturalKeyLength), r});
    }
    // Only the first 40 characters count; equal keys keep their row order.
    std::sort(keys.begin(), keys.end());
    for (int p = 1; p <= keys.size(); ++p)
        rows[keys.at(p - 1).second - 1].number = QString::number(p);
    workspace.replaceRows(u"点名順"_s, std::move(rows), workspace.SheetModified);
}

QList<int> ReorderByNumber(Workspace& workspace, Prompts& prompts) {
    workspace.UpdateRowTotal();
    QList<AlbumRow> rows = workspace.SS1.rows();
    QList<int> numbered;
    QList<std::pair<double, int>> keys; // number, then row: any size of either sorts right
    for (int r = 1; r <= rows.size(); ++r) {
        const double n = orderNumber(rows.at(r - 1).number);
        if (n != 0) {
            numbered.append(r);
            keys.append({n, r});
        }
    }
    if (numbered.isEmpty()) return {};

    if (prompts.ask(ReorderQuestion, ReorderQuestionTitle) != Prompts::Answer::Yes) {
        for (int r : numbered)
            rows[r - 1].number.clear();
        workspace.replaceRows(u"番号クリア"_s, std::move(rows), workspace.SheetModified, 0);
        return {};
    }

    std::sort(keys.begin(), keys.end());
    QList<AlbumRow> photos;
    for (const auto& key : keys)
        photos.append(rows.at(key.second - 1));
    for (int p = 0; p < numbered.size(); ++p) {
        // The thumbnail travels with its photo, so the sheet never shows one photo's
        // picture beside another's information.
        AlbumRow moved = photos.at(p);
        moved.number.clear();
        rows[numbered.at(p) - 1] = moved;
    }
    workspace.replaceRows(u"並替"_s, std::move(rows), 1, 0);
    return numbered;
}

} // namespace RowEditing
