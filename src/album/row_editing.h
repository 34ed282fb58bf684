#pragma once

#include <QList>
#include <QString>

class Prompts;
class Workspace;

// The commands that change album rows as a whole: insert, delete, numbering and reordering.
// Each is one undoable command.
namespace RowEditing {

extern const QString InsertRefused;       // "これ以上行を挿入できません。"
extern const QString DeleteQuestionTitle; // "削除確認"
extern const QString ReorderQuestion;
extern const QString ReorderQuestionTitle; // "並替え確認"

// "3～5のデータを削除します。"
QString deleteQuestion(int first, int last);

// The order number a column-3 text stands for: its leading number, rounded; 0 is none.
double orderNumber(const QString& text);

// 行挿入: an empty row above cursorRow, unless the album is full.
void InsertRow(Workspace& workspace, Prompts& prompts, int cursorRow);
// 行削除: rows first..last after confirmation. False when declined.
bool DeleteRows(Workspace& workspace, Prompts& prompts, int first, int last);
// A click in column 3: the next ClickCounter value into that row.
void NumberByClick(Workspace& workspace, int row);
// 点名順: numbers rows in the natural order of their first information line.
void NumberByFirstLine(Workspace& workspace);
// 並替: after the question, moves the numbered photos into number order (Yes) or only
// clears the numbers (No). Gives the rows that received a photo, top to bottom (none on No).
QList<int> ReorderByNumber(Workspace& workspace, Prompts& prompts);

} // namespace RowEditing
