#include "xlsx/workbook_impl.h"

#include <algorithm>

using namespace WorkbookXml;

namespace {

pugi::xml_attribute ensure(pugi::xml_node node, const char* name) {
    pugi::xml_attribute a = node.attribute(name);
    return a ? a : node.append_attribute(name);
}

template <typename Entry> void sortByOrder(std::vector<Entry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.order < b.order; });
}

} // namespace

Workbook::Impl::SheetMarks& Workbook::Impl::marks(const std::string& part) {
    if (auto known = sheetMarks.find(part); known != sheetMarks.end()) return known->second;
    SheetMarks& marks = sheetMarks[part];
    pugi::xml_node ws = worksheet(part);
    for (pugi::xml_node m : ws.child("mergeCells").children("mergeCell")) {
        ++marks.mergeCount;
        CellRef::Range range;
        if (!CellRef::parseRange(m.attribute("ref").value(), range)) continue;
        marks.merges.emplace(range.firstRow, MergeEntry{range, ++marks.order, m});
        marks.tallestMerge = std::max(marks.tallestMerge, range.lastRow - range.firstRow);
    }
    for (pugi::xml_node b : ws.child("rowBreaks").children("brk")) {
        ++marks.breakCount;
        marks.breaks.emplace(b.attribute("id").as_int(), BreakEntry{++marks.order, b});
    }
    return marks;
}

std::vector<CellRef::Range> Workbook::Impl::mergesWithin(const std::string& part, int first, int last) {
    const SheetMarks& known = marks(part);
    std::vector<MergeEntry> inside;
    for (auto it = known.merges.lower_bound(first); it != known.merges.end() && it->first <= last; ++it)
        if (it->second.range.lastRow <= last) inside.push_back(it->second);
    sortByOrder(inside);
    std::vector<CellRef::Range> ranges;
    for (const MergeEntry& entry : inside)
        ranges.push_back(entry.range);
    return ranges;
}

void Workbook::Impl::dropMergesOver(const std::string& part, int first, int last) {
    SheetMarks& known = marks(part);
    pugi::xml_node merges = worksheet(part, true).child("mergeCells");
    for (auto it = known.merges.lower_bound(first - known.tallestMerge);
         it != known.merges.end() && it->first <= last;) {
        if (it->second.range.lastRow < first) {
            ++it;
            continue;
        }
        merges.remove_child(it->second.node);
        --known.mergeCount;
        it = known.merges.erase(it);
    }
}

std::vector<int> Workbook::Impl::breaksWithin(const std::string& part, int first, int last) {
    const SheetMarks& known = marks(part);
    std::vector<std::pair<long long, int>> inside;
    for (auto it = known.breaks.lower_bound(first); it != known.breaks.end() && it->first <= last; ++it)
        inside.emplace_back(it->second.order, it->first);
    std::sort(inside.begin(), inside.end());
    std::vector<int> rows;
    for (const auto& [order, row] : inside)
        rows.push_back(row);
    return rows;
}

void Workbook::Impl::dropBreaksIn(const std::string& part, int first, int last) {
    SheetMarks& known = marks(part);
    pugi::xml_node breaks = worksheet(part, true).child("rowBreaks");
    for (auto it = known.breaks.lower_bound(first); it != known.breaks.end() && it->first <= last;) {
        breaks.remove_child(it->second.node);
        --known.breakCount;
        it = known.breaks.erase(it);
    }
}

void Workbook::mergeCells(const CellRef::Range& range) {
    const std::string part = d->activePart();
    Impl::SheetMarks& marks = d->marks(part);
    pugi::xml_node merges = worksheetChild(d->worksheet(part, true), "mergeCells");
    pugi::xml_node m = merges.append_child("mergeCell");
    m.append_attribute("ref") = CellRef::rangeText(range).c_str();
    marks.merges.emplace(range.firstRow, Impl::MergeEntry{range, ++marks.order, m});
    marks.tallestMerge = std::max(marks.tallestMerge, range.lastRow - range.firstRow);
    ensure(merges, "count").set_value(++marks.mergeCount);
}

void Workbook::addRowBreak(int afterRow) {
    const std::string part = d->activePart();
    Impl::SheetMarks& marks = d->marks(part);
    pugi::xml_node breaks = worksheetChild(d->worksheet(part, true), "rowBreaks");
    if (marks.breaks.count(afterRow)) return;
    pugi::xml_node b = breaks.append_child("brk");
    b.append_attribute("id") = afterRow;
    b.append_attribute("max") = CellRef::MaxColumn - 1;
    b.append_attribute("man") = 1;
    marks.breaks.emplace(afterRow, Impl::BreakEntry{++marks.order, b});
    const int count = ++marks.breakCount;
    ensure(breaks, "count").set_value(count);
    ensure(breaks, "manualBreakCount").set_value(count);
}
