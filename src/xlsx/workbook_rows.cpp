#include "base/app_error.h"
#include "xlsx/sheet_references.h"
#include "xlsx/workbook_impl.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace WorkbookXml;

namespace {

void checkCell(int row, int column) {
    if (row < 1 || row > CellRef::MaxRow || column < 1 || column > CellRef::MaxColumn)
        throw AppError(u"セルの位置がシートの範囲外です（行 "_s + QString::number(row) + u"、列 "_s +
                       QString::number(column) + u"）。"_s);
}

void checkRows(int first, int last) {
    if (first < 1 || last < first || last > CellRef::MaxRow)
        throw AppError(u"行の範囲がシートの範囲外です（"_s + QString::number(first) + u":"_s +
                       QString::number(last) + u"）。"_s);
}

int columnOf(pugi::xml_node cell) {
    int row = 0, column = 0;
    CellRef::parse(cell.attribute("r").value(), row, column);
    return column;
}

// Renumbers a row element and its cells.
void renumber(pugi::xml_node row, int number) {
    row.attribute("r").set_value(number);
    for (pugi::xml_node c : row.children("c"))
        c.attribute("r").set_value(CellRef::address(number, columnOf(c)).c_str());
}

// Where a row ends up when rows first..last are deleted; 0 for a row that goes.
int rowAfterDelete(int row, int first, int last) {
    if (row < first) return row;
    if (row > last) return row - (last - first + 1);
    return 0;
}

} // namespace

std::map<int, pugi::xml_node>& Workbook::Impl::rows(const std::string& part) {
    auto found = rowIndex.find(part);
    if (found != rowIndex.end()) return found->second;
    auto& index = rowIndex[part];
    pugi::xml_node data = worksheet(part).child("sheetData");
    int previous = 0;
    bool complete = true;
    for (pugi::xml_node r : data.children("row")) {
        if (!r.attribute("r")) complete = false;
        const int number = r.attribute("r") ? r.attribute("r").as_int() : previous + 1;
        index[number] = r;
        previous = number;
        int column = 0;
        for (pugi::xml_node c : r.children("c")) {
            int cr = 0, cc = 0;
            if (!c.attribute("r") || !CellRef::parse(c.attribute("r").value(), cr, cc)) complete = false;
            column = c.attribute("r") && CellRef::parse(c.attribute("r").value(), cr, cc) ? cc : column + 1;
        }
    }
    if (!complete) {
        // Addresses may be left out in a file; every later step relies on them.
        worksheet(part, true);
        for (auto& [number, r] : index) {
            if (!r.attribute("r")) r.append_attribute("r") = number;
            int column = 0;
            for (pugi::xml_node c : r.children("c")) {
                int cr = 0, cc = 0;
                column =
                    c.attribute("r") && CellRef::parse(c.attribute("r").value(), cr, cc) ? cc : column + 1;
                if (!c.attribute("r")) c.append_attribute("r");
                c.attribute("r").set_value(CellRef::address(number, column).c_str());
            }
        }
    }
    return index;
}

pugi::xml_node Workbook::Impl::row(const std::string& part, int number, bool create) {
    auto& index = rows(part);
    const auto found = index.find(number);
    if (found != index.end()) return found->second;
    if (!create) return {};
    pugi::xml_node data = worksheet(part, true).child("sheetData");
    const auto next = index.upper_bound(number);
    pugi::xml_node r =
        next == index.end() ? data.append_child("row") : data.insert_child_before("row", next->second);
    r.append_attribute("r") = number;
    index[number] = r;
    return r;
}

pugi::xml_node Workbook::Impl::cell(const std::string& part, int rowNumber, int column, bool create) {
    pugi::xml_node r = row(part, rowNumber, create);
    if (!r) return {};
    pugi::xml_node before;
    for (pugi::xml_node c : r.children("c")) {
        const int cc = columnOf(c);
        if (cc == column) return c;
        if (cc > column) {
            before = c;
            break;
        }
    }
    if (!create) return {};
    pugi::xml_node c = before ? r.insert_child_before("c", before) : r.append_child("c");
    c.append_attribute("r") = CellRef::address(rowNumber, column).c_str();
    // A row styled as a whole passes its style to new cells, as a typed cell would get it.
    if (r.attribute("customFormat").as_bool() && r.attribute("s"))
        c.append_attribute("s") = r.attribute("s").value();
    return c;
}

void Workbook::Impl::forgetShortened(const std::string& part, int first, int last, int column) {
    std::erase_if(shortened, [&](const ShortenedCell& cell) {
        return cell.part == part && (first == 0 || (cell.row >= first && cell.row <= last)) &&
               (column == 0 || cell.column == column);
    });
}

void Workbook::setText(int row, int column, const QString& text) {
    checkCell(row, column);
    d->worksheet(d->activePart(), true);
    pugi::xml_node c = d->cell(d->activePart(), row, column, true);
    while (c.first_child())
        c.remove_child(c.first_child());
    for (const char* a : {"t", "cm", "vm"})
        c.remove_attribute(a);
    d->forgetShortened(d->activePart(), row, row, column);
    if (text.isEmpty()) return;
    // A spreadsheet program repairs a longer cell away on opening; the cut never splits a character.
    QStringView kept(text);
    if (kept.size() > MaxCellText) {
        kept = kept.left(kept.at(MaxCellText - 1).isHighSurrogate() ? MaxCellText - 1 : MaxCellText);
        d->shortened.push_back({d->activePart(), row, column});
    }
    c.append_attribute("t") = "inlineStr";
    pugi::xml_node t = c.append_child("is").append_child("t");
    t.append_attribute("xml:space") = "preserve";
    t.text().set(CellRef::encodeText(kept.toString()).c_str());
}

void Workbook::setNumber(int row, int column, double value, const QString& numberFormat) {
    checkCell(row, column);
    if (!std::isfinite(value)) throw AppError(u"数値ではない値はセルに書けません。"_s);
    d->worksheet(d->activePart(), true);
    d->forgetShortened(d->activePart(), row, row, column);
    pugi::xml_node c = d->cell(d->activePart(), row, column, true);
    while (c.first_child())
        c.remove_child(c.first_child());
    for (const char* a : {"t", "cm", "vm"})
        c.remove_attribute(a);
    c.append_child("v").text().set(QString::number(value, 'g', 17).toUtf8().constData());
    if (numberFormat.isEmpty()) return;
    const int format = d->numberFormatId(numberFormat);
    const int style =
        d->cloneStyle(d->styleOf(c), "numFmt" + std::to_string(format), [format](pugi::xml_node xf) {
            xf.attribute("numFmtId") ? xf.attribute("numFmtId").set_value(format)
                                     : xf.append_attribute("numFmtId").set_value(format);
            xf.remove_attribute("applyNumberFormat");
            xf.append_attribute("applyNumberFormat") = "1";
        });
    c.remove_attribute("s");
    c.append_attribute("s") = style;
}

QString Workbook::cellText(int row, int column) const {
    pugi::xml_node c = d->cell(d->activePart(), row, column, false);
    if (!c) return {};
    const std::string type = c.attribute("t").value();
    const auto runs = [](pugi::xml_node holder) {
        QString text;
        if (pugi::xml_node t = holder.child("t")) text += CellRef::decodeText(t.text().get());
        for (pugi::xml_node r : holder.children("r"))
            text += CellRef::decodeText(r.child("t").text().get());
        return text;
    };
    if (type == "inlineStr") return runs(c.child("is"));
    if (type == "s") {
        const int wanted = c.child("v").text().as_int(-1);
        const auto rels = d->relationships("xl/workbook.xml", false);
        for (pugi::xml_node r : rels.children("Relationship")) {
            const std::string t = r.attribute("Type").value();
            if (t.size() < 13 || t.compare(t.size() - 13, 13, "sharedStrings") != 0) continue;
            const std::string part = resolveTarget("xl/workbook.xml", r.attribute("Target").value());
            int i = 0;
            for (pugi::xml_node si : d->package.xml(part, false).child("sst").children("si"))
                if (i++ == wanted) return runs(si);
        }
        return {};
    }
    if (type == "b") return c.child("v").text().as_bool() ? u"TRUE"_s : u"FALSE"_s;
    return CellRef::decodeText(c.child("v").text().get());
}

void Workbook::copyRows(int first, int last) {
    checkRows(first, last);
    d->clip = {d->activePart(), first, last};
}

void Workbook::pasteRows(int at) {
    if (d->clip.sheetPart.empty()) throw AppError(u"貼り付ける行がコピーされていません。"_s);
    const Impl::Clip clip = d->clip;
    const int count = clip.last - clip.first + 1;
    checkRows(at, at + count - 1);
    const int shift = at - clip.first;
    const std::string target = d->activePart();
    pugi::xml_node targetWs = d->worksheet(target, true);

    // Copies first, so that pasting over the source itself reads the rows as they were.
    pugi::xml_document held;
    for (int r = clip.first; r <= clip.last; ++r)
        if (pugi::xml_node source = d->row(clip.sheetPart, r, false)) held.append_copy(source);
    auto& index = d->rows(target);
    d->forgetRowTops(target, at);
    for (int r = at; r < at + count; ++r)
        if (auto found = index.find(r); found != index.end()) {
            targetWs.child("sheetData").remove_child(found->second);
            index.erase(found);
        }
    for (pugi::xml_node copy : held.children("row")) {
        const int number = copy.attribute("r").as_int() + shift;
        const auto next = index.upper_bound(number);
        pugi::xml_node data = targetWs.child("sheetData");
        pugi::xml_node placed =
            next == index.end() ? data.append_copy(copy) : data.insert_copy_before(copy, next->second);
        renumber(placed, number);
        // A shared formula cannot be repeated by copying; its stored result stays.
        for (pugi::xml_node c : placed.children("c"))
            if (pugi::xml_node f = c.child("f"); f && std::string(f.attribute("t").value()) == "shared")
                c.remove_child(f);
        index[number] = placed;
    }

    // The source's marks are read before the target's go, as the two may be one sheet.
    const std::vector<CellRef::Range> sourceMerges = d->mergesWithin(clip.sheetPart, clip.first, clip.last);
    const std::vector<int> sourceBreaks = d->breaksWithin(clip.sheetPart, clip.first, clip.last);
    d->dropMergesOver(target, at, at + count - 1);
    for (const CellRef::Range& range : sourceMerges)
        mergeCells({range.firstRow + shift, range.firstColumn, range.lastRow + shift, range.lastColumn});
    d->dropBreaksIn(target, at, at + count - 1);
    for (int id : sourceBreaks)
        addRowBreak(id + shift);
    d->copyDrawings(clip.sheetPart, clip.first, clip.last, target, shift);
    d->forgetShortened(target, at, at + count - 1);
    const auto cut = d->shortened;
    for (const Impl::ShortenedCell& cell : cut)
        if (cell.part == clip.sheetPart && cell.row >= clip.first && cell.row <= clip.last)
            d->shortened.push_back({target, cell.row + shift, cell.column});
}

void Workbook::deleteRows(int first, int last) {
    checkRows(first, last);
    const std::string part = d->activePart();
    pugi::xml_node ws = d->worksheet(part, true);
    const int count = last - first + 1;
    auto& index = d->rows(part);
    d->forgetRowTops(part, first);
    for (auto it = index.lower_bound(first); it != index.end() && it->first <= last;) {
        ws.child("sheetData").remove_child(it->second);
        it = index.erase(it);
    }
    std::map<int, pugi::xml_node> moved;
    for (auto& [number, r] : index) {
        const int now = number > last ? number - count : number;
        if (now != number) renumber(r, now);
        moved[now] = r;
    }
    index = std::move(moved);

    pugi::xml_node merges = ws.child("mergeCells");
    for (pugi::xml_node m = merges.child("mergeCell"); m;) {
        pugi::xml_node next = m.next_sibling("mergeCell");
        CellRef::Range range;
        if (CellRef::parseRange(m.attribute("ref").value(), range)) {
            const int top = range.firstRow > last ? range.firstRow - count : std::min(range.firstRow, first);
            const int bottom = range.lastRow < first
                                   ? range.lastRow
                                   : (range.lastRow > last ? range.lastRow - count : first - 1);
            if (bottom < top || (bottom == top && range.firstColumn == range.lastColumn)) {
                merges.remove_child(m);
            } else {
                range.firstRow = top;
                range.lastRow = bottom;
                m.attribute("ref").set_value(CellRef::rangeText(range).c_str());
            }
        }
        m = next;
    }
    if (merges) {
        const int left =
            int(std::distance(merges.children("mergeCell").begin(), merges.children("mergeCell").end()));
        if (left == 0)
            ws.remove_child(merges);
        else
            (merges.attribute("count") ? merges.attribute("count") : merges.append_attribute("count"))
                .set_value(left);
    }

    pugi::xml_node breaks = ws.child("rowBreaks");
    for (pugi::xml_node b = breaks.child("brk"); b;) {
        pugi::xml_node next = b.next_sibling("brk");
        const int now = rowAfterDelete(b.attribute("id").as_int(), first, last);
        if (now == 0)
            breaks.remove_child(b);
        else
            b.attribute("id").set_value(now);
        b = next;
    }
    if (breaks) {
        const int left = int(std::distance(breaks.children("brk").begin(), breaks.children("brk").end()));
        if (left == 0) {
            ws.remove_child(breaks);
        } else {
            for (const char* a : {"count", "manualBreakCount"}) {
                breaks.remove_attribute(a);
                breaks.append_attribute(a) = left;
            }
        }
    }
    d->forgetMarks(part);
    d->shiftDrawing(part, first, last);
    d->shiftNames(d->sheet(d->active).name, first, last);
    d->forgetShortened(part, first, last);
    for (Impl::ShortenedCell& cell : d->shortened)
        if (cell.part == part && cell.row > last) cell.row -= count;
}

void Workbook::Impl::shiftNames(const QString& sheetName, int first, int last) {
    // Cells, ranges and whole rows; whole columns stay as they are.
    static const QRegularExpression rows(
        uR"(^(\$?[A-Za-z]{0,3}\$?)(\d+)(?::(\$?[A-Za-z]{0,3}\$?)(\d+))?$)"_s);
    const int count = last - first + 1;
    // The sheets a name refers to stay as they are: a vanished range keeps its sheet before "#REF!".
    for (pugi::xml_node n : names().mentioning(sheetName)) {
        const QString formula = QString::fromUtf8(n.text().get());
        const QString out = SheetReferences::rewrite(
            formula, [&](const QString& sheet, const QString& ref) -> std::optional<QString> {
                const auto m = rows.match(ref);
                if (sheet.compare(sheetName, Qt::CaseInsensitive) != 0 || !m.hasMatch()) return std::nullopt;
                const int top = m.captured(2).toInt();
                const int bottom = m.captured(4).isEmpty() ? top : m.captured(4).toInt();
                const int newTop = top > last ? top - count : std::min(top, first);
                const int newBottom = bottom < first ? bottom : (bottom > last ? bottom - count : first - 1);
                const QString prefix = SheetReferences::quoted(sheet) + u'!';
                if (newBottom < newTop) return prefix + u"#REF!"_s;
                QString moved = prefix + m.captured(1) + QString::number(newTop);
                if (!m.captured(4).isEmpty()) moved += u':' + m.captured(3) + QString::number(newBottom);
                return moved;
            });
        if (out != formula) {
            package.xml("xl/workbook.xml", true);
            n.text().set(out.toUtf8().constData());
        }
    }
}

void Workbook::Impl::updateDimension(const std::string& part) {
    pugi::xml_node ws = worksheet(part);
    pugi::xml_node dimension = ws.child("dimension");
    if (!dimension) return;
    auto& index = rows(part);
    int maxColumn = 1, minColumn = CellRef::MaxColumn, minRow = 0, maxRow = 0;
    for (auto& [number, r] : index)
        for (pugi::xml_node c : r.children("c")) {
            if (!minRow) minRow = number;
            maxRow = number;
            minColumn = std::min(minColumn, columnOf(c));
            maxColumn = std::max(maxColumn, columnOf(c));
        }
    const std::string ref = minRow ? CellRef::rangeText({minRow, minColumn, maxRow, maxColumn}) : "A1";
    if (ref != dimension.attribute("ref").value())
        worksheet(part, true).child("dimension").attribute("ref").set_value(ref.c_str());
}
