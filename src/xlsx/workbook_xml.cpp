#include "xlsx/workbook_impl.h"

#include "base/app_error.h"

#include <charconv>
#include <cstring>

using namespace Qt::StringLiterals;

namespace WorkbookXml {

pugi::xml_attribute relId(pugi::xml_node node) {
    for (pugi::xml_attribute a : node.attributes()) {
        const char* name = a.name();
        const char* colon = std::strchr(name, ':');
        if (colon && std::strcmp(colon, ":id") == 0) return a;
    }
    return {};
}

pugi::xml_node worksheetChild(pugi::xml_node worksheet, const char* name) {
    static const char* const order[] = {"sheetPr",
                                        "dimension",
                                        "sheetViews",
                                        "sheetFormatPr",
                                        "cols",
                                        "sheetData",
                                        "sheetCalcPr",
                                        "sheetProtection",
                                        "protectedRanges",
                                        "scenarios",
                                        "autoFilter",
                                        "sortState",
                                        "dataConsolidate",
                                        "customSheetViews",
                                        "mergeCells",
                                        "phoneticPr",
                                        "conditionalFormatting",
                                        "dataValidations",
                                        "hyperlinks",
                                        "printOptions",
                                        "pageMargins",
                                        "pageSetup",
                                        "headerFooter",
                                        "rowBreaks",
                                        "colBreaks",
                                        "customProperties",
                                        "cellWatches",
                                        "ignoredErrors",
                                        "smartTags",
                                        "drawing",
                                        "legacyDrawing",
                                        "legacyDrawingHF",
                                        "drawingHF",
                                        "picture",
                                        "oleObjects",
                                        "controls",
                                        "webPublishItems",
                                        "tableParts",
                                        "extLst"};
    if (pugi::xml_node existing = worksheet.child(name)) return existing;
    int rank = 0;
    while (rank < int(std::size(order)) && std::strcmp(order[rank], name) != 0)
        ++rank;
    for (pugi::xml_node child = worksheet.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) continue;
        int childRank = 0;
        while (childRank < int(std::size(order)) && std::strcmp(order[childRank], child.name()) != 0)
            ++childRank;
        if (childRank > rank) return worksheet.insert_child_before(name, child);
    }
    return worksheet.append_child(name);
}

std::string relsPartOf(const std::string& part) {
    const size_t slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

std::string resolveTarget(const std::string& fromPart, const std::string& target) {
    if (!target.empty() && target.front() == '/') return target.substr(1);
    std::vector<std::string> segments;
    const size_t slash = fromPart.rfind('/');
    std::string path = (slash == std::string::npos ? std::string() : fromPart.substr(0, slash + 1)) + target;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string piece = path.substr(start, end - start);
        if (piece == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!piece.empty() && piece != ".") {
            segments.push_back(piece);
        }
        start = end + 1;
    }
    std::string out;
    for (const std::string& s : segments)
        out += (out.empty() ? "" : "/") + s;
    return out;
}

std::string relativeTarget(const std::string& fromPart, const std::string& target) {
    // Relative to the folder of the part the relationships belong to, as most writers do.
    const size_t slash = fromPart.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : fromPart.substr(0, slash + 1);
    std::string up;
    while (!folder.empty() && target.compare(0, folder.size(), folder) != 0) {
        folder.pop_back();
        const size_t previous = folder.rfind('/');
        folder = previous == std::string::npos ? std::string() : folder.substr(0, previous + 1);
        up += "../";
    }
    return up + target.substr(folder.size());
}

} // namespace WorkbookXml

namespace {

// n for an id written "rIdn" as this engine writes them; 0 for any other id, which never clashes.
int relationNumber(const char* id) {
    if (std::strncmp(id, "rId", 3) != 0) return 0;
    const char* digits = id + 3;
    int n = 0;
    const auto [end, error] = std::from_chars(digits, digits + std::strlen(digits), n);
    if (error != std::errc() || *end != '\0' || n <= 0 || std::to_string(n) != digits) return 0;
    return n;
}

} // namespace

using namespace WorkbookXml;

SheetDirectory& Workbook::Impl::directory() {
    if (sheetList) return *sheetList;
    std::vector<SheetInfo> out;
    // The targets by id in one pass: a book of thousands of sheets is listed after every copy.
    std::map<std::string, std::string> targets;
    for (pugi::xml_node r : relationships("xl/workbook.xml", false).children("Relationship"))
        targets.try_emplace(r.attribute("Id").value(), r.attribute("Target").value());
    pugi::xml_node list = package.xml("xl/workbook.xml", false).child("workbook").child("sheets");
    int highestId = 0;
    for (pugi::xml_node s : list.children("sheet")) {
        const auto target = targets.find(relId(s).value());
        out.push_back(
            {QString::fromUtf8(s.attribute("name").value()),
             target == targets.end() ? std::string() : resolveTarget("xl/workbook.xml", target->second), s});
        highestId = std::max(highestId, s.attribute("sheetId").as_int());
    }
    return sheetList.emplace(std::move(out), highestId);
}

DefinedNameIndex& Workbook::Impl::names() {
    if (!nameIndex)
        nameIndex.emplace(package.xml("xl/workbook.xml", false).child("workbook").child("definedNames"));
    return *nameIndex;
}

Workbook::Impl::SheetInfo Workbook::Impl::sheet(int index) {
    const auto& all = sheets();
    if (index < 1 || index > int(all.size()))
        throw AppError(u"シートがありません（"_s + QString::number(index) + u"番目）。\r\n"_s + label);
    return all[size_t(index - 1)];
}

pugi::xml_node Workbook::Impl::worksheet(const std::string& part, bool changing) {
    pugi::xml_node ws = package.xml(part, changing).child("worksheet");
    if (!ws) throw AppError(u"ワークシートが壊れています。\r\n"_s + label);
    return ws;
}

pugi::xml_node Workbook::Impl::relationships(const std::string& part, bool create) {
    const std::string rels = relsPartOf(part);
    if (!package.has(rels)) {
        if (!create) return {};
        package.createXml(
            rels, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                  "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>");
    }
    return package.xml(rels, create).child("Relationships");
}

std::string Workbook::Impl::relationshipTarget(const std::string& part, const std::string& id) {
    pugi::xml_node rels = relationships(part, false);
    for (pugi::xml_node r : rels.children("Relationship"))
        if (id == r.attribute("Id").value()) return resolveTarget(part, r.attribute("Target").value());
    return {};
}

std::string Workbook::Impl::addRelationship(const std::string& part, const char* type,
                                            const std::string& target) {
    pugi::xml_node rels = relationships(part, true);
    RelationIds& ids = relationIds[part];
    if (ids.list != rels) {
        ids = {rels, {}, 1};
        for (pugi::xml_node r : rels.children("Relationship"))
            if (const int n = relationNumber(r.attribute("Id").value()); n > 0) ids.taken.insert(n);
    }
    int n = ids.lowestFree;
    while (ids.taken.count(n))
        ++n;
    ids.taken.insert(n);
    ids.lowestFree = n + 1;
    const std::string id = "rId" + std::to_string(n);
    pugi::xml_node r = rels.append_child("Relationship");
    r.append_attribute("Id") = id.c_str();
    r.append_attribute("Type") = type;
    r.append_attribute("Target") = relativeTarget(part, target).c_str();
    return id;
}

void Workbook::Impl::addContentOverride(const std::string& part, const char* contentType) {
    pugi::xml_node types = package.xml("[Content_Types].xml").child("Types");
    pugi::xml_node o = types.append_child("Override");
    o.append_attribute("PartName") = ("/" + part).c_str();
    o.append_attribute("ContentType") = contentType;
}

void Workbook::Impl::addContentDefault(const std::string& extension, const char* contentType) {
    pugi::xml_node types = package.xml("[Content_Types].xml", false).child("Types");
    for (pugi::xml_node d : types.children("Default"))
        if (QString::fromUtf8(d.attribute("Extension").value())
                .compare(QString::fromStdString(extension), Qt::CaseInsensitive) == 0)
            return;
    types = package.xml("[Content_Types].xml").child("Types");
    pugi::xml_node d = types.prepend_child("Default");
    d.append_attribute("Extension") = extension.c_str();
    d.append_attribute("ContentType") = contentType;
}

void Workbook::Impl::removeContentOverride(const std::string& part) {
    pugi::xml_node types = package.xml("[Content_Types].xml").child("Types");
    for (pugi::xml_node o = types.child("Override"); o;) {
        pugi::xml_node next = o.next_sibling("Override");
        if (("/" + part) == o.attribute("PartName").value()) types.remove_child(o);
        o = next;
    }
}
