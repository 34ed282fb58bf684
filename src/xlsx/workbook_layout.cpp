#include "base/app_error.h"
#include "xlsx/digit_width.h"
#include "xlsx/sheet_references.h"
#include "xlsx/workbook_impl.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;
using namespace WorkbookXml;

namespace {

pugi::xml_attribute ensure(pugi::xml_node node, const char* name) {
    pugi::xml_attribute a = node.attribute(name);
    return a ? a : node.append_attribute(name);
}

int countChildren(pugi::xml_node node, const char* name) {
    int n = 0;
    for (pugi::xml_node child : node.children(name))
        (void)child, ++n;
    return n;
}

// Column width in the file's units to pixels, as spreadsheet programs lay it out.
double widthToPixels(double width, int digit) {
    return std::floor((256.0 * width + std::floor(128.0 / digit)) / 256.0 * digit);
}

} // namespace

double Workbook::Impl::rowHeight(const std::string& part, int number) {
    if (pugi::xml_node r = row(part, number, false)) {
        if (r.attribute("hidden").as_bool()) return 0;
        if (r.attribute("ht")) return r.attribute("ht").as_double();
    }
    pugi::xml_node format = worksheet(part).child("sheetFormatPr");
    return format.attribute("defaultRowHeight").as_double(15);
}

double Workbook::Impl::rowTop(const std::string& part, int row) {
    std::vector<double>& tops = rowTops[part];
    if (tops.empty()) tops.push_back(0);
    while (int(tops.size()) < row)
        tops.push_back(tops.back() + rowHeight(part, int(tops.size())));
    return tops[size_t(row - 1)];
}

int Workbook::Impl::rowAt(const std::string& part, double points, double& offset) {
    std::vector<double>& tops = rowTops[part];
    if (tops.empty()) tops.push_back(0);
    while (tops.back() <= points && int(tops.size()) <= CellRef::MaxRow)
        tops.push_back(tops.back() + rowHeight(part, int(tops.size())));
    // The first row whose bottom lies below the position; the last row takes what is past the sheet.
    const auto below = std::upper_bound(tops.begin() + 1, tops.end(), points);
    const int row = below == tops.end() ? CellRef::MaxRow : int(below - tops.begin());
    offset = points - tops[size_t(row - 1)];
    return row - 1;
}

void Workbook::Impl::forgetRowTops(const std::string& part, int row) {
    auto found = rowTops.find(part);
    if (found != rowTops.end() && int(found->second.size()) > row)
        found->second.resize(size_t(std::max(row, 1)));
}

double Workbook::Impl::columnWidth(const std::string& part, int column) {
    const int digit = digitWidthPixels();
    pugi::xml_node ws = worksheet(part);
    for (pugi::xml_node c : ws.child("cols").children("col"))
        if (column >= c.attribute("min").as_int() && column <= c.attribute("max").as_int()) {
            if (c.attribute("hidden").as_bool()) return 0;
            if (c.attribute("width")) return widthToPixels(c.attribute("width").as_double(), digit) * 0.75;
        }
    pugi::xml_node format = ws.child("sheetFormatPr");
    if (format.attribute("defaultColWidth"))
        return widthToPixels(format.attribute("defaultColWidth").as_double(), digit) * 0.75;
    const double base = format.attribute("baseColWidth").as_double(8);
    // The default width is padded and rounded up to a multiple of 8 pixels.
    return std::ceil((base * digit + 5) / 8.0) * 8.0 * 0.75;
}

int Workbook::Impl::digitWidthPixels() {
    if (digitWidth > 0) return digitWidth;
    // The standard font is the one of the Normal style, usually the first.
    pugi::xml_node styles = package.xml("xl/styles.xml", false).child("styleSheet");
    int normalXf = 0;
    for (pugi::xml_node s : styles.child("cellStyles").children("cellStyle"))
        if (s.attribute("builtinId") && s.attribute("builtinId").as_int() == 0)
            normalXf = s.attribute("xfId").as_int();
    const auto nth = [](pugi::xml_node list, const char* name, int index) {
        pugi::xml_node found = list.child(name);
        for (int i = 0; i < index && found; ++i)
            found = found.next_sibling(name);
        return found;
    };
    pugi::xml_node xf = nth(styles.child("cellStyleXfs"), "xf", normalXf);
    pugi::xml_node font = nth(styles.child("fonts"), "font", xf.attribute("fontId").as_int(0));
    if (!font) font = styles.child("fonts").child("font");
    digitWidth = DigitWidth::pixels(QString::fromUtf8(font.child("name").attribute("val").value()),
                                    font.child("sz").attribute("val").as_double(11));
    return digitWidth;
}

double Workbook::rowHeight(int row) const {
    return d->rowHeight(d->activePart(), row);
}

void Workbook::setRowHeight(int row, double points) {
    pugi::xml_node r = d->row(d->activePart(), row, true);
    d->worksheet(d->activePart(), true);
    d->forgetRowTops(d->activePart(), row);
    ensure(r, "ht").set_value(points);
    ensure(r, "customHeight").set_value(1);
}

double Workbook::columnWidth(int column) const {
    return d->columnWidth(d->activePart(), column);
}

void Workbook::setColumnWidth(int column, double width) {
    pugi::xml_node ws = d->worksheet(d->activePart(), true);
    pugi::xml_node cols = worksheetChild(ws, "cols");
    pugi::xml_node before;
    for (pugi::xml_node c : cols.children("col")) {
        if (column >= c.attribute("min").as_int() && column <= c.attribute("max").as_int())
            throw AppError(u"列幅は既に設定されています。"_s);
        if (!before && c.attribute("min").as_int() > column) before = c;
    }
    pugi::xml_node c = before ? cols.insert_child_before("col", before) : cols.append_child("col");
    c.append_attribute("min") = column;
    c.append_attribute("max") = column;
    c.append_attribute("width") = width;
    c.append_attribute("customWidth") = 1;
}

QList<CellRef::Range> Workbook::merges() const {
    QList<CellRef::Range> list;
    for (pugi::xml_node m : d->worksheet(d->activePart()).child("mergeCells").children("mergeCell")) {
        CellRef::Range range;
        if (CellRef::parseRange(m.attribute("ref").value(), range)) list.append(range);
    }
    return list;
}

QList<int> Workbook::rowBreaks() const {
    QList<int> list;
    for (pugi::xml_node b : d->worksheet(d->activePart()).child("rowBreaks").children("brk"))
        list.append(b.attribute("id").as_int());
    std::sort(list.begin(), list.end());
    return list;
}

void Workbook::setPageSetup(const PageSetup& setup) {
    pugi::xml_node ws = d->worksheet(d->activePart(), true);
    pugi::xml_node margins = worksheetChild(ws, "pageMargins");
    for (const char* side : {"left", "right", "top", "bottom"})
        ensure(margins, side).set_value(setup.marginInches);
    ensure(margins, "header").set_value(0.2);
    ensure(margins, "footer").set_value(0.2);
    ws.remove_child("pageSetup");
    pugi::xml_node page = worksheetChild(ws, "pageSetup");
    page.append_attribute("paperSize") = setup.paperSize;
    page.append_attribute("scale") = setup.scale;
    page.append_attribute("orientation") = setup.landscape ? "landscape" : "portrait";
    if (!setup.fitToWidth) return;
    // Fitted to the paper's width; the row breaks decide the pages.
    page.append_attribute("fitToWidth") = 1;
    page.append_attribute("fitToHeight") = 0;
    pugi::xml_node properties = worksheetChild(ws, "sheetPr");
    pugi::xml_node fit = properties.child("pageSetUpPr") ? properties.child("pageSetUpPr")
                                                         : properties.append_child("pageSetUpPr");
    ensure(fit, "fitToPage").set_value(1);
}

int Workbook::lastRow() const {
    const auto& index = d->rows(d->activePart());
    return index.empty() ? 0 : index.rbegin()->first;
}

int Workbook::Impl::styleOf(pugi::xml_node cell) {
    return cell.attribute("s").as_int(0);
}

int Workbook::Impl::cloneStyle(int base, const std::string& key,
                               const std::function<void(pugi::xml_node)>& change) {
    const std::string cacheKey = std::to_string(base) + "|" + key;
    if (const auto found = cachedXf.find(cacheKey); found != cachedXf.end()) return found->second;
    pugi::xml_node xfs = package.xml("xl/styles.xml").child("styleSheet").child("cellXfs");
    pugi::xml_node source = xfs.find_child(
        [&, i = 0](pugi::xml_node n) mutable { return std::string(n.name()) == "xf" && i++ == base; });
    pugi::xml_node xf = source ? xfs.append_copy(source) : xfs.append_child("xf");
    change(xf);
    const int index = countChildren(xfs, "xf") - 1;
    ensure(xfs, "count").set_value(index + 1);
    cachedXf[cacheKey] = index;
    return index;
}

int Workbook::Impl::numberFormatId(const QString& code) {
    pugi::xml_node sheet = package.xml("xl/styles.xml").child("styleSheet");
    const std::string text = code.toStdString();
    int highest = 163;
    for (pugi::xml_node f : sheet.child("numFmts").children("numFmt")) {
        if (text == f.attribute("formatCode").value()) return f.attribute("numFmtId").as_int();
        highest = std::max(highest, f.attribute("numFmtId").as_int());
    }
    pugi::xml_node formats = sheet.child("numFmts");
    if (!formats) formats = sheet.prepend_child("numFmts");
    pugi::xml_node f = formats.append_child("numFmt");
    f.append_attribute("numFmtId") = highest + 1;
    f.append_attribute("formatCode") = text.c_str();
    ensure(formats, "count").set_value(countChildren(formats, "numFmt"));
    return highest + 1;
}

int Workbook::Impl::addBorder(const std::function<void(pugi::xml_node)>& fill, int basedOn) {
    pugi::xml_node borders = package.xml("xl/styles.xml").child("styleSheet").child("borders");
    pugi::xml_node source = borders.find_child(
        [&, i = 0](pugi::xml_node n) mutable { return std::string(n.name()) == "border" && i++ == basedOn; });
    pugi::xml_node border = source ? borders.append_copy(source) : borders.append_child("border");
    for (const char* side : {"left", "right", "top", "bottom", "diagonal"})
        if (!border.child(side)) border.append_child(side);
    fill(border);
    const int count = countChildren(borders, "border");
    ensure(borders, "count").set_value(count);
    return count - 1;
}

int Workbook::Impl::addFont(const QString& name, double size) {
    pugi::xml_node fonts = package.xml("xl/styles.xml").child("styleSheet").child("fonts");
    pugi::xml_node normal = fonts.child("font");
    pugi::xml_node font = fonts.append_child("font");
    font.append_child("sz").append_attribute("val") =
        size > 0 ? size : normal.child("sz").attribute("val").as_double(11);
    font.append_child("name").append_attribute("val") =
        name.isEmpty() ? normal.child("name").attribute("val").value() : name.toUtf8().constData();
    if (!name.isEmpty()) {
        font.append_child("family").append_attribute("val") = 3;
        font.append_child("charset").append_attribute("val") = 128;
    }
    const int count = countChildren(fonts, "font");
    ensure(fonts, "count").set_value(count);
    return count - 1;
}

int Workbook::addCellStyle(const CellStyle& style) {
    const int font =
        style.fontName.isEmpty() && style.fontSize <= 0 ? 0 : d->addFont(style.fontName, style.fontSize);
    const bool sides[] = {style.left, style.right, style.top, style.bottom};
    const bool framed = std::find(std::begin(sides), std::end(sides), true) != std::end(sides);
    const int border = !framed ? 0
                               : d->addBorder(
                                     [&](pugi::xml_node b) {
                                         const char* const names[] = {"left", "right", "top", "bottom"};
                                         for (int i = 0; i < 4; ++i) {
                                             if (!sides[i]) continue;
                                             pugi::xml_node s = b.child(names[i]);
                                             s.append_attribute("style") = "thin";
                                             s.append_child("color").append_attribute("auto") = 1;
                                         }
                                     },
                                     0);
    return d->cloneStyle(0, "style" + std::to_string(d->cachedXf.size()), [&](pugi::xml_node xf) {
        ensure(xf, "fontId").set_value(font);
        ensure(xf, "borderId").set_value(border);
        if (font) ensure(xf, "applyFont").set_value(1);
        if (border) ensure(xf, "applyBorder").set_value(1);
        if (style.verticalCenter || style.shrinkToFit) {
            ensure(xf, "applyAlignment").set_value(1);
            pugi::xml_node alignment = xf.append_child("alignment");
            if (style.verticalCenter) alignment.append_attribute("vertical") = "center";
            if (style.shrinkToFit) alignment.append_attribute("shrinkToFit") = 1;
        }
    });
}

void Workbook::setCellStyle(int row, int column, int style) {
    pugi::xml_node c = d->cell(d->activePart(), row, column, true);
    d->worksheet(d->activePart(), true);
    ensure(c, "s").set_value(style);
}

void Workbook::setBottomHairline(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    if (firstRow < 1 || firstColumn < 1 || lastRow < firstRow || lastColumn < firstColumn ||
        lastRow > CellRef::MaxRow || lastColumn > CellRef::MaxColumn)
        throw AppError(u"罫線の範囲がシートの範囲外です。"_s);
    d->worksheet(d->activePart(), true);
    pugi::xml_node xfs = d->package.xml("xl/styles.xml").child("styleSheet").child("cellXfs");
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c) {
            pugi::xml_node cell = d->cell(d->activePart(), r, c, true);
            const int base = d->styleOf(cell);
            pugi::xml_node baseXf =
                xfs.find_child([&, i = 0](pugi::xml_node) mutable { return i++ == base; });
            const int baseBorder = baseXf.attribute("borderId").as_int(0);
            const int style = d->cloneStyle(base, "hairBottom", [&](pugi::xml_node xf) {
                const int border = d->addBorder(
                    [](pugi::xml_node b) {
                        pugi::xml_node bottom = b.child("bottom");
                        while (bottom.first_child())
                            bottom.remove_child(bottom.first_child());
                        bottom.remove_attribute("style");
                        bottom.append_attribute("style") = "hair";
                        bottom.append_child("color").append_attribute("auto") = 1;
                    },
                    baseBorder);
                ensure(xf, "borderId").set_value(border);
                ensure(xf, "applyBorder").set_value(1);
            });
            ensure(cell, "s").set_value(style);
        }
}

PageSetup Workbook::pageSetup() const {
    pugi::xml_node ws = d->worksheet(d->activePart());
    pugi::xml_node page = ws.child("pageSetup");
    PageSetup setup;
    setup.landscape = std::string(page.attribute("orientation").value()) == "landscape";
    setup.paperSize = page.attribute("paperSize").as_int(9);
    setup.scale = page.attribute("scale").as_int(100);
    setup.marginInches = ws.child("pageMargins").attribute("top").as_double(0.75);
    setup.fitToWidth = ws.child("sheetPr").child("pageSetUpPr").attribute("fitToPage").as_bool() &&
                       page.attribute("fitToWidth").as_int(1) == 1;
    return setup;
}

namespace {

const char* const PrintAreaName = "_xlnm.Print_Area";

// The last column a reference reaches: "$A$1:$G$90" and "$A:$G" both reach G.
int lastColumnOf(const QString& reference) {
    QString end = reference.section(u':', -1);
    end.remove(u'$');
    while (!end.isEmpty() && end.back().isDigit())
        end.chop(1);
    int row = 0, column = 0;
    return CellRef::parse(QString(end + u'1').toStdString(), row, column) ? column : 0;
}

pugi::xml_node printAreaOf(const DefinedNameIndex& names, int sheet) {
    for (pugi::xml_node n : names.localTo(sheet - 1))
        if (std::string(n.attribute("name").value()) == PrintAreaName) return n;
    return {};
}

} // namespace

void Workbook::setPrintArea(int lastRow, int lastColumn) {
    if (lastColumn == 0) {
        for (const auto& [number, r] : d->rows(d->activePart()))
            for (pugi::xml_node c : r.children("c")) {
                int row = 0, column = 0;
                if (CellRef::parse(c.attribute("r").value(), row, column))
                    lastColumn = std::max(lastColumn, column);
            }
        lastColumn = std::max({1, lastColumn, d->lastDrawingColumn(d->activePart())});
    }
    if (lastRow < 1 || lastRow > CellRef::MaxRow || lastColumn < 1 || lastColumn > CellRef::MaxColumn)
        throw AppError(u"印刷範囲がシートの範囲外です。"_s);
    pugi::xml_node workbook = d->package.xml("xl/workbook.xml").child("workbook");
    pugi::xml_node names = workbook.child("definedNames");
    if (!names) {
        pugi::xml_node after = workbook.child("sheets");
        for (const char* name : {"functionGroups", "externalReferences"})
            if (workbook.child(name)) after = workbook.child(name);
        names = workbook.insert_child_after("definedNames", after);
    }
    if (pugi::xml_node old = printAreaOf(d->names(), d->active)) {
        d->names().remove(old);
        names.remove_child(old);
    }
    const QString formula = SheetReferences::quoted(sheetName(d->active)) + u"!$A$1:$"_s +
                            QString::fromStdString(CellRef::columnLetters(lastColumn)) + u'$' +
                            QString::number(lastRow);
    pugi::xml_node n = names.append_child("definedName");
    n.append_attribute("name") = PrintAreaName;
    n.append_attribute("localSheetId") = d->active - 1;
    n.text().set(formula.toUtf8().constData());
    d->names().add(n);
}

int Workbook::printAreaLastColumn() const {
    int last = 0;
    SheetReferences::rewrite(QString::fromUtf8(printAreaOf(d->names(), d->active).text().get()),
                             [&](const QString&, const QString& ref) -> std::optional<QString> {
                                 last = std::max(last, lastColumnOf(ref));
                                 return std::nullopt;
                             });
    return last;
}
