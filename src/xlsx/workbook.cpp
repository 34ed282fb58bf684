#include "xlsx/workbook.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "xlsx/sheet_references.h"
#include "xlsx/workbook_impl.h"

#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;
using namespace WorkbookXml;

namespace {

const char* const SheetContentType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
const char* const DrawingContentType = "application/vnd.openxmlformats-officedocument.drawing+xml";

const char* const BlankSheet =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews>"
    "<sheetFormatPr defaultRowHeight=\"15\"/><sheetData/>"
    "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
    "</worksheet>";

// Characters XML cannot carry, so no workbook can hold them in a sheet name.
bool unfitForName(const QChar& c) {
    return c.unicode() < 0x20 || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF;
}

void eraseRelationship(pugi::xml_node rels, const std::string& id) {
    for (pugi::xml_node r : rels.children("Relationship"))
        if (id == r.attribute("Id").value()) {
            rels.remove_child(r);
            return;
        }
}

} // namespace

Workbook::Workbook(std::unique_ptr<Impl> impl) : d(std::move(impl)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::open(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw AppError(u"ブックが見つかりません。\r\n"_s + QFileInfo(path).absoluteFilePath());
    const qint64 size = QFileInfo(path).size();
    if (size > XlsxPackage::MaxExpandedBytes)
        throw AppError(u"ブックを読めません。\r\n"_s + path + u"\r\n大きすぎます（500 MB 超）。"_s);
    return fromBytes(readWholeFile(path, u"ブックを読めません。"_s), path);
}

Workbook Workbook::fromBytes(const QByteArray& bytes, const QString& label) {
    auto impl = std::make_unique<Impl>();
    impl->package = XlsxPackage::fromZip(bytes, label);
    impl->label = label;
    Workbook book(std::move(impl));
    try {
        const std::string bookRels = relsPartOf("xl/workbook.xml");
        if (!book.d->package.has(bookRels))
            throw AppError(u"ブックの部品がありません: "_s + QString::fromStdString(bookRels));
        if (book.sheetCount() == 0) throw AppError(u"シートがありません。"_s);
        for (const auto& s : book.d->sheets()) {
            if (s.part.empty())
                throw AppError(u"シート「"_s + s.name + u"」の部品が "_s + QString::fromStdString(bookRels) +
                               u" にありません。"_s);
            book.d->worksheet(s.part);
        }
        book.d->package.xml("xl/styles.xml", false);
    } catch (const AppError& error) {
        throw AppError(u"ブックを読めません。\r\n"_s + label + u"\r\n"_s + error.message());
    }
    pugi::xml_node view = book.d->package.xml("xl/workbook.xml", false)
                              .child("workbook")
                              .child("bookViews")
                              .child("workbookView");
    book.d->active = std::clamp(view.attribute("activeTab").as_int(0) + 1, 1, book.sheetCount());
    return book;
}

int Workbook::sheetCount() const {
    return int(d->sheets().size());
}

QString Workbook::sheetName(int index) const {
    return d->sheet(index).name;
}

int Workbook::sheetIndex(const QString& name) const {
    return d->directory().indexOf(name);
}

void Workbook::activate(int index) {
    const auto& all = d->sheets();
    d->sheet(index);
    d->active = index;
    const auto mark = [&](int sheet) {
        const std::string& part = all[size_t(sheet - 1)].part;
        pugi::xml_node view = d->worksheet(part, false).child("sheetViews").child("sheetView");
        const bool selected = sheet == index;
        if (view.attribute("tabSelected").as_bool() == selected) return;
        view = d->worksheet(part, true).child("sheetViews").child("sheetView");
        view.remove_attribute("tabSelected");
        if (selected) view.append_attribute("tabSelected") = "1";
    };
    // Once one sheet alone is known to be selected, only it and the new one can change.
    if (d->onlySelected != 0) {
        mark(d->onlySelected);
        mark(index);
    } else {
        for (int sheet = 1; sheet <= int(all.size()); ++sheet)
            mark(sheet);
    }
    d->onlySelected = index;
    pugi::xml_node bookView =
        d->package.xml("xl/workbook.xml").child("workbook").child("bookViews").child("workbookView");
    if (bookView) {
        bookView.remove_attribute("activeTab");
        bookView.remove_attribute("firstSheet");
        bookView.append_attribute("activeTab") = index - 1;
    }
}

void Workbook::setAside(int index) {
    const std::string part = d->sheet(index).part;
    // Finished as saving would finish it, so that saving need not read it again.
    d->updateDimension(part);
    d->refreshPictureFrames(part);
    d->forgetRows(part);
    d->forgetMarks(part);
    d->package.settle(part);
    d->setAsideParts.insert(part);
}

int Workbook::activeSheet() const {
    return d->active;
}

QString Workbook::sheetNameProblem(const QString& name, int renamedIndex) const {
    if (name.isEmpty() || name.size() > 31)
        return u"シート名は 1 文字以上 31 文字以内にして下さい: "_s + name;
    for (QChar c : u":\\/?*[]"_s)
        if (name.contains(c)) return u"シート名に使えない文字（: \\ / ? * [ ]）が含まれています: "_s + name;
    if (name.startsWith(u'\'') || name.endsWith(u'\''))
        return u"シート名の先頭と末尾に ' は使えません: "_s + name;
    if (std::any_of(name.begin(), name.end(), unfitForName))
        return u"シート名に制御文字などの使えない文字が含まれています: "_s + name;
    const int same = sheetIndex(name);
    if (same != 0 && same != renamedIndex) return u"同じ名前のシートが既にあります: "_s + name;
    return {};
}

QString Workbook::validSheetName(const QString& wanted) const {
    QString base = wanted;
    for (QChar c : u":\\/?*[]"_s)
        base.replace(c, u'_');
    std::replace_if(base.begin(), base.end(), unfitForName, u'_');
    while (base.startsWith(u'\''))
        base.remove(0, 1);
    while (base.endsWith(u'\''))
        base.chop(1);
    if (base.isEmpty()) base = u"Sheet"_s;
    if (base.size() > 31) base.truncate(31);
    if (base.at(base.size() - 1).isHighSurrogate()) base.chop(1);
    if (sheetIndex(base) == 0) return base;
    for (int n = 2;; ++n) {
        const QString suffix = u" ("_s + QString::number(n) + u')';
        QString candidate = base.left(31 - suffix.size());
        if (!candidate.isEmpty() && candidate.at(candidate.size() - 1).isHighSurrogate()) candidate.chop(1);
        candidate += suffix;
        if (sheetIndex(candidate) == 0) return candidate;
    }
}

void Workbook::renameSheet(int index, const QString& name) {
    const Impl::SheetInfo info = d->sheet(index);
    const QString problem = sheetNameProblem(name, index);
    if (!problem.isEmpty()) throw AppError(problem);
    d->package.xml("xl/workbook.xml"); // marked as changed
    info.element.attribute("name").set_value(name.toUtf8().constData());
    const QString stored = QString::fromUtf8(name.toUtf8());
    d->directory().rename(index, stored);
    for (pugi::xml_node n : d->names().mentioning(info.name)) {
        const QString formula = QString::fromUtf8(n.text().get());
        const QString changed = SheetReferences::renamed(formula, info.name, stored);
        if (changed != formula) n.text().set(changed.toUtf8().constData());
    }
    d->names().sheetRenamed(info.name, stored);
}

int Workbook::copySheetBefore(int index) {
    const Impl::SheetInfo source = d->sheet(index);
    QString name;
    for (int n = 2; name.isEmpty() || sheetIndex(name) != 0; ++n) {
        const QString suffix = u" ("_s + QString::number(n) + u')';
        name = source.name.left(31 - suffix.size()) + suffix;
    }
    const std::string part = d->package.freeName("xl/worksheets/sheet", ".xml");
    d->package.setBytes(part, d->package.bytes(source.part));
    // Nothing kept may stand for an earlier part of the same name.
    d->forgetMarks(part);
    d->relationIds.erase(part);
    const auto cut = d->shortened;
    for (const Impl::ShortenedCell& cell : cut)
        if (cell.part == source.part) d->shortened.push_back({part, cell.row, cell.column});
    d->addContentOverride(part, SheetContentType);
    pugi::xml_node ws = d->worksheet(part, true);
    ws.child("sheetViews").child("sheetView").remove_attribute("tabSelected");
    // Comments, tables and controls belong to one sheet; the copy keeps cells, layout and drawings.
    for (const char* owned :
         {"legacyDrawing", "legacyDrawingHF", "tableParts", "controls", "oleObjects", "hyperlinks"})
        ws.remove_child(owned);
    if (pugi::xml_node sourceRels = d->relationships(source.part, false)) {
        for (pugi::xml_node r : sourceRels.children("Relationship")) {
            const std::string type = r.attribute("Type").value();
            const std::string target = resolveTarget(source.part, r.attribute("Target").value());
            const std::string oldId = r.attribute("Id").value();
            std::string newId;
            if (type == DrawingType) {
                const std::string drawing = d->package.freeName("xl/drawings/drawing", ".xml");
                d->package.setBytes(drawing, d->package.bytes(target));
                if (d->package.has(relsPartOf(target)))
                    d->package.setBytes(relsPartOf(drawing), d->package.bytes(relsPartOf(target)));
                d->addContentOverride(drawing, DrawingContentType);
                d->relationIds.erase(drawing);
                d->shapeIds.erase(drawing);
                d->anchorIndex.erase(drawing);
                newId = d->addRelationship(part, DrawingType, drawing);
            } else if (type.size() > 16 && type.compare(type.size() - 16, 16, "printerSettings") == 0) {
                newId = d->addRelationship(part, type.c_str(), target);
            } else {
                continue;
            }
            for (pugi::xml_node child : ws.children())
                if (pugi::xml_attribute id = relId(child); id && oldId == id.value())
                    id.set_value(newId.c_str());
        }
    }
    pugi::xml_node workbook = d->package.xml("xl/workbook.xml").child("workbook");
    pugi::xml_node sheetsNode = workbook.child("sheets");
    const int id = d->directory().highestId() + 1;
    const std::string relIdValue = d->addRelationship("xl/workbook.xml", SheetType, part);
    pugi::xml_node element = sheetsNode.insert_child_before("sheet", source.element);
    element.append_attribute("name") = name.toUtf8().constData();
    element.append_attribute("sheetId") = id;
    element.append_attribute("r:id") = relIdValue.c_str();
    d->directory().insert(index, {QString::fromUtf8(name.toUtf8()), part, element}, id);
    if (d->onlySelected >= index) ++d->onlySelected;
    // Names local to a sheet are tied to its position.
    pugi::xml_node names = workbook.child("definedNames");
    const std::vector<pugi::xml_node> localToSource = d->names().localTo(index - 1);
    d->names().sheetInserted(index - 1);
    for (pugi::xml_node n : localToSource) {
        pugi::xml_node copy = names.insert_copy_before(n, n);
        copy.attribute("localSheetId").set_value(index - 1);
        const QString formula =
            SheetReferences::renamed(QString::fromUtf8(copy.text().get()), source.name, name);
        copy.text().set(formula.toUtf8().constData());
        d->names().add(copy);
    }
    if (d->active >= index) ++d->active;
    activate(d->active);
    return index;
}

void Workbook::deleteSheet(int index) {
    const Impl::SheetInfo info = d->sheet(index);
    if (sheetCount() == 1) throw AppError(u"ブックの最後のシートは削除できません。"_s);
    if (pugi::xml_node rels = d->relationships(info.part, false)) {
        for (pugi::xml_node r : rels.children("Relationship")) {
            if (std::string(r.attribute("Type").value()) != DrawingType) continue;
            const std::string drawing = resolveTarget(info.part, r.attribute("Target").value());
            d->package.remove(drawing);
            d->package.remove(relsPartOf(drawing));
            d->removeContentOverride(drawing);
        }
    }
    d->package.remove(info.part);
    d->package.remove(relsPartOf(info.part));
    d->removeContentOverride(info.part);
    d->forgetRows(info.part);
    d->forgetMarks(info.part);
    d->forgetShortened(info.part);
    d->forgetRelationIds();
    d->forgetDrawings();
    pugi::xml_node workbook = d->package.xml("xl/workbook.xml").child("workbook");
    eraseRelationship(d->relationships("xl/workbook.xml", true), relId(info.element).value());
    workbook.child("sheets").remove_child(info.element);
    d->directory().erase(index);
    // Names are renumbered and rewritten below; they are indexed afresh when next needed.
    d->nameIndex.reset();
    d->onlySelected = d->onlySelected == index ? 0 : d->onlySelected - (d->onlySelected > index ? 1 : 0);
    pugi::xml_node names = workbook.child("definedNames");
    for (pugi::xml_node n = names.child("definedName"); n;) {
        pugi::xml_node next = n.next_sibling("definedName");
        pugi::xml_attribute local = n.attribute("localSheetId");
        if (local && local.as_int() == index - 1) {
            names.remove_child(n);
        } else {
            if (local && local.as_int() > index - 1) local.set_value(local.as_int() - 1);
            // A name of the book that pointed into the sheet now points nowhere, as a spreadsheet
            // program marks it; left as it was, it would name a sheet the file no longer has.
            const QString formula = QString::fromUtf8(n.text().get());
            const QString changed = SheetReferences::rewrite(
                formula, [&](const QString& sheet, const QString& ref) -> std::optional<QString> {
                    if (sheet.compare(info.name, Qt::CaseInsensitive) != 0) return std::nullopt;
                    return u"#REF!"_s + ref;
                });
            if (changed != formula) n.text().set(changed.toUtf8().constData());
        }
        n = next;
    }
    if (names && !names.child("definedName")) workbook.remove_child(names);
    if (d->clip.sheetPart == info.part) d->clip = {};
    if (d->active > index || d->active > sheetCount()) --d->active;
    activate(std::max(1, d->active));
}

void Workbook::selectCell(int row, int column) {
    pugi::xml_node view = d->worksheet(d->activePart(), true).child("sheetViews").child("sheetView");
    if (!view) return;
    while (view.child("selection"))
        view.remove_child("selection");
    for (const char* a : {"topLeftCell"})
        view.remove_attribute(a);
    pugi::xml_node selection = view.append_child("selection");
    const std::string ref = CellRef::address(row, column);
    selection.append_attribute("activeCell") = ref.c_str();
    selection.append_attribute("sqref") = ref.c_str();
}

QString Workbook::shortenedNote() const {
    QStringList cells;
    for (const auto& s : d->sheets()) {
        std::vector<std::pair<int, int>> here;
        for (const Impl::ShortenedCell& cell : d->shortened)
            if (cell.part == s.part) here.emplace_back(cell.row, cell.column);
        std::sort(here.begin(), here.end());
        for (const auto& [row, column] : here)
            cells << s.name + u'!' + QString::fromStdString(CellRef::address(row, column));
    }
    if (cells.isEmpty()) return {};
    // A long list is named in part, so that the note still fits a message box.
    constexpr qsizetype Listed = 10;
    QString listed = cells.mid(0, Listed).join(u"、"_s);
    if (cells.size() > Listed) listed += u" ほか "_s + QString::number(cells.size() - Listed) + u" か所"_s;
    return u"セルに入る "_s + QLocale(QLocale::Japanese).toString(MaxCellText) +
           u" 文字を超えたため、後ろを切り捨てた文字列があります: "_s + listed;
}

QByteArray Workbook::toBytes() const {
    for (const auto& s : d->sheets()) {
        if (d->setAsideParts.count(s.part) && !d->package.parsed(s.part)) continue;
        d->updateDimension(s.part);
        d->refreshPictureFrames(s.part);
    }
    return d->package.toZip();
}

const QString Workbook::SaveFailed = u"ブックを保存できません。"_s;

void Workbook::save(const QString& path) const {
    writeFileAtomically(path, toBytes(), SaveFailed);
}

Workbook Workbook::createBlank(const QStringList& sheetNames, const StandardFont& font) {
    auto impl = std::make_unique<Impl>();
    XlsxPackage& p = impl->package;
    p.setBytes("[Content_Types].xml",
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
               "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"rels\" "
               "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
               "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
               "<Override PartName=\"/xl/workbook.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
               "<Override PartName=\"/xl/styles.xml\" "
               "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
               "</Types>");
    p.setBytes("_rels/.rels",
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
               "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
               "<Relationship Id=\"rId1\" "
               "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
               "Target=\"xl/workbook.xml\"/></Relationships>");
    p.setBytes("xl/workbook.xml",
               "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
               "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
               "<bookViews><workbookView activeTab=\"0\"/></bookViews><sheets/></workbook>");
    p.setBytes(
        "xl/styles.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
        "borderId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
        "xfId=\"0\"/></cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
        "</styleSheet>");
    pugi::xml_node normal = p.xml("xl/styles.xml").child("styleSheet").child("fonts").child("font");
    normal.child("sz").attribute("val") = font.size;
    normal.child("name").attribute("val") = font.name.toUtf8().constData();
    if (font.name != u"Calibri"_s) {
        // Japanese fonts, as a spreadsheet program describes them.
        normal.child("family").attribute("val") = 3;
        normal.append_child("charset").append_attribute("val") = 128;
    }
    impl->label = u"(new)"_s;
    impl->addRelationship("xl/workbook.xml",
                          "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles",
                          "xl/styles.xml");
    pugi::xml_node sheetsNode = p.xml("xl/workbook.xml").child("workbook").child("sheets");
    int id = 0;
    for (const QString& name : sheetNames) {
        const std::string part = "xl/worksheets/sheet" + std::to_string(++id) + ".xml";
        p.setBytes(part, BlankSheet);
        impl->addContentOverride(part, SheetContentType);
        pugi::xml_node s = sheetsNode.append_child("sheet");
        s.append_attribute("name") = name.toUtf8().constData();
        s.append_attribute("sheetId") = id;
        s.append_attribute("r:id") = impl->addRelationship("xl/workbook.xml", SheetType, part).c_str();
    }
    impl->forgetSheets();
    Workbook book(std::move(impl));
    book.activate(1);
    return book;
}
