#include "base/app_error.h"
#include "xlsx/workbook_impl.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace Qt::StringLiterals;
using namespace WorkbookXml;

namespace {

const char* const DrawingContentType = "application/vnd.openxmlformats-officedocument.drawing+xml";

const char* localName(pugi::xml_node node) {
    const char* colon = std::strchr(node.name(), ':');
    return colon ? colon + 1 : node.name();
}

pugi::xml_node child(pugi::xml_node node, const char* local) {
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element && std::strcmp(localName(c), local) == 0) return c;
    return {};
}

bool isAnchor(pugi::xml_node node) {
    const char* name = localName(node);
    return std::strcmp(name, "twoCellAnchor") == 0 || std::strcmp(name, "oneCellAnchor") == 0;
}

struct Marker {
    pugi::xml_node node;
    int row() const { return child(node, "row").text().as_int(); }
    long long rowOff() const { return child(node, "rowOff").text().as_llong(); }
    int column() const { return child(node, "col").text().as_int(); }
    long long columnOff() const { return child(node, "colOff").text().as_llong(); }
    void setRow(int row) { child(node, "row").text().set(row); }
};

// The blip elements of an anchor, wherever they sit (pictures, filled shapes, groups).
void collectRelAttributes(pugi::xml_node node, std::vector<pugi::xml_attribute>& out) {
    for (pugi::xml_attribute a : node.attributes()) {
        const char* colon = std::strchr(a.name(), ':');
        if (colon && (std::strcmp(colon, ":embed") == 0 || std::strcmp(colon, ":link") == 0))
            out.push_back(a);
    }
    for (pugi::xml_node c : node.children())
        if (c.type() == pugi::node_element) collectRelAttributes(c, out);
}

// The anchor's last covered sheet row (1-based): an end exactly on a row's top ends above it.
int lastRowOf(pugi::xml_node anchor) {
    const Marker from{child(anchor, "from")};
    if (pugi::xml_node to = child(anchor, "to")) {
        const Marker end{to};
        return end.rowOff() == 0 && end.row() > from.row() ? end.row() : end.row() + 1;
    }
    return from.row() + 1;
}

// Whether any drawing still refers to the image part.
bool mediaInUse(XlsxPackage& package, const std::string& media) {
    const std::string folder = "xl/drawings/_rels/";
    for (const std::string& name : package.names()) {
        if (name.compare(0, folder.size(), folder) != 0) continue;
        const std::string drawing =
            "xl/drawings/" + name.substr(folder.size(), name.size() - folder.size() - 5);
        for (pugi::xml_node r : package.xml(name, false).child("Relationships").children("Relationship"))
            if (resolveTarget(drawing, r.attribute("Target").value()) == media) return true;
    }
    return false;
}

} // namespace

int Workbook::Impl::highestShapeId(const std::string& drawing, pugi::xml_node root) {
    if (auto known = shapeIds.find(drawing); known != shapeIds.end()) return known->second;
    int highest = 0;
    for (pugi::xpath_node n : root.select_nodes(".//*[@id]"))
        if (std::strcmp(localName(n.node()), "cNvPr") == 0)
            highest = std::max(highest, n.node().attribute("id").as_int());
    shapeIds[drawing] = highest;
    return highest;
}

std::multimap<int, Workbook::Impl::AnchorEntry>& Workbook::Impl::anchors(const std::string& drawing,
                                                                         pugi::xml_node root) {
    if (auto known = anchorIndex.find(drawing); known != anchorIndex.end()) return known->second;
    auto& index = anchorIndex[drawing];
    for (pugi::xml_node anchor : root.children())
        if (isAnchor(anchor))
            index.emplace(Marker{child(anchor, "from")}.row() + 1,
                          AnchorEntry{lastRowOf(anchor), ++anchorOrder, anchor});
    return index;
}

void Workbook::Impl::noteAnchor(const std::string& drawing, pugi::xml_node anchor) {
    auto known = anchorIndex.find(drawing);
    if (known == anchorIndex.end() || !isAnchor(anchor)) return;
    known->second.emplace(Marker{child(anchor, "from")}.row() + 1,
                          AnchorEntry{lastRowOf(anchor), ++anchorOrder, anchor});
}

std::string Workbook::Impl::drawingPart(const std::string& sheetPart, bool create) {
    pugi::xml_node ws = worksheet(sheetPart);
    if (pugi::xml_node drawing = ws.child("drawing")) {
        const std::string target = relationshipTarget(sheetPart, relId(drawing).value());
        if (package.has(target)) return target;
    }
    if (!create) return {};
    const std::string part = package.freeName("xl/drawings/drawing", ".xml");
    package.createXml(
        part, "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
              "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
              "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"/>");
    addContentOverride(part, DrawingContentType);
    const std::string id = addRelationship(sheetPart, DrawingType, part);
    pugi::xml_node ws2 = worksheet(sheetPart, true);
    ws2.remove_child("drawing");
    pugi::xml_node element = worksheetChild(ws2, "drawing");
    element.append_attribute("r:id") = id.c_str();
    if (!ws2.attribute("xmlns:r")) ws2.append_attribute("xmlns:r") = RelNs;
    return part;
}

void Workbook::addPicture(const PictureRect& rect, const QByteArray& image, const QString& extension) {
    const bool sane = std::isfinite(rect.left) && std::isfinite(rect.top) && std::isfinite(rect.width) &&
                      std::isfinite(rect.height) && rect.left >= 0 && rect.top >= 0 && rect.width > 0 &&
                      rect.height > 0 && rect.left + rect.width < 1.0e7 && rect.top + rect.height < 1.0e8;
    if (!sane) throw AppError(u"写真の位置または大きさがシートの範囲外です。"_s);
    const std::string sheetPart = d->activePart();
    const std::string drawing = d->drawingPart(sheetPart, true);
    const std::string ext = extension.toLower().toStdString();
    const std::string media = d->package.freeName("xl/media/image", "." + ext);
    d->package.setBytes(media, image);
    d->addContentDefault(ext, ext == "png" ? "image/png" : ext == "gif" ? "image/gif" : "image/jpeg");
    const std::string embed = d->addRelationship(drawing, ImageType, media);

    const auto locate = [&](double position, bool rows, int& index, long long& offset) {
        double start = 0;
        if (rows) {
            index = d->rowAt(sheetPart, position, start);
            offset = std::llround(start * EmuPerPoint);
            return;
        }
        int i = 1;
        for (;; ++i) {
            const double size = d->columnWidth(sheetPart, i);
            if (start + size > position || i == CellRef::MaxColumn) break;
            start += size;
        }
        index = i - 1;
        offset = std::llround((position - start) * EmuPerPoint);
    };
    int fromCol = 0, fromRow = 0, toCol = 0, toRow = 0;
    long long fromColOff = 0, fromRowOff = 0, toColOff = 0, toRowOff = 0;
    locate(rect.left, false, fromCol, fromColOff);
    locate(rect.top, true, fromRow, fromRowOff);
    locate(rect.left + rect.width, false, toCol, toColOff);
    locate(rect.top + rect.height, true, toRow, toRowOff);

    pugi::xml_node root = d->package.xml(drawing).first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    const int id = d->highestShapeId(drawing, root) + 1;
    d->shapeIds[drawing] = id;
    pugi::xml_node anchor = root.append_child("xdr:twoCellAnchor");
    anchor.append_attribute("xmlns:xdr") = DrawingNs;
    anchor.append_attribute("xmlns:a") = MainDrawingNs;
    anchor.append_attribute("xmlns:r") = RelNs;
    const auto marker = [&](const char* name, int col, long long colOff, int row, long long rowOff) {
        pugi::xml_node m = anchor.append_child(name);
        m.append_child("xdr:col").text().set(col);
        m.append_child("xdr:colOff").text().set(colOff);
        m.append_child("xdr:row").text().set(row);
        m.append_child("xdr:rowOff").text().set(rowOff);
    };
    marker("xdr:from", fromCol, fromColOff, fromRow, fromRowOff);
    marker("xdr:to", toCol, toColOff, toRow, toRowOff);
    pugi::xml_node pic = anchor.append_child("xdr:pic");
    pugi::xml_node nv = pic.append_child("xdr:nvPicPr");
    pugi::xml_node props = nv.append_child("xdr:cNvPr");
    props.append_attribute("id") = id;
    props.append_attribute("name") = ("Picture " + std::to_string(id)).c_str();
    nv.append_child("xdr:cNvPicPr").append_child("a:picLocks").append_attribute("noChangeAspect") = 0;
    pugi::xml_node fill = pic.append_child("xdr:blipFill");
    fill.append_child("a:blip").append_attribute("r:embed") = embed.c_str();
    fill.append_child("a:stretch").append_child("a:fillRect");
    pugi::xml_node shape = pic.append_child("xdr:spPr");
    pugi::xml_node xfrm = shape.append_child("a:xfrm");
    pugi::xml_node off = xfrm.append_child("a:off");
    off.append_attribute("x") = std::llround(rect.left * EmuPerPoint);
    off.append_attribute("y") = std::llround(rect.top * EmuPerPoint);
    pugi::xml_node size = xfrm.append_child("a:ext");
    size.append_attribute("cx") = std::llround(rect.width * EmuPerPoint);
    size.append_attribute("cy") = std::llround(rect.height * EmuPerPoint);
    shape.append_child("a:prstGeom").append_attribute("prst") = "rect";
    shape.child("a:prstGeom").append_child("a:avLst");
    pugi::xml_node line = shape.append_child("a:ln");
    line.append_attribute("w") = 9525;
    line.append_child("a:solidFill").append_child("a:srgbClr").append_attribute("val") = "FFFFFF";
    anchor.append_child("xdr:clientData");
    d->noteAnchor(drawing, anchor);
}

QList<Workbook::Picture> Workbook::pictures() const {
    QList<Picture> list;
    const std::string sheetPart = d->activePart();
    const std::string drawing = d->drawingPart(sheetPart, false);
    if (drawing.empty()) return list;
    const auto position = [&](Marker m, bool rows) {
        if (rows) return d->rowTop(sheetPart, m.row() + 1) + double(m.rowOff()) / EmuPerPoint;
        double sum = 0;
        for (int i = 1; i <= m.column(); ++i)
            sum += d->columnWidth(sheetPart, i);
        return sum + double(m.columnOff()) / EmuPerPoint;
    };
    pugi::xml_node root = d->package.xml(drawing, false).first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    for (pugi::xml_node anchor : root.children()) {
        if (std::strcmp(localName(anchor), "twoCellAnchor") != 0) continue;
        Picture picture;
        const Marker from{child(anchor, "from")}, to{child(anchor, "to")};
        picture.rect.left = position(from, false);
        picture.rect.top = position(from, true);
        picture.rect.width = position(to, false) - picture.rect.left;
        picture.rect.height = position(to, true) - picture.rect.top;
        std::vector<pugi::xml_attribute> refs;
        collectRelAttributes(anchor, refs);
        if (!refs.empty()) {
            const std::string media = d->relationshipTarget(drawing, refs.front().value());
            if (d->package.has(media)) picture.image = d->package.bytes(media);
        }
        list.append(picture);
    }
    return list;
}

void Workbook::Impl::copyDrawings(const std::string& fromSheet, int first, int last,
                                  const std::string& toSheet, int rowShift) {
    const std::string source = drawingPart(fromSheet, false);
    if (source.empty()) return;
    pugi::xml_node sourceRoot = package.xml(source, false).first_child();
    while (sourceRoot && sourceRoot.type() != pugi::node_element)
        sourceRoot = sourceRoot.next_sibling();
    const auto& index = anchors(source, sourceRoot);
    std::vector<AnchorEntry> inside;
    for (auto it = index.lower_bound(first); it != index.end() && it->first <= last; ++it)
        if (it->second.lastRow <= last) inside.push_back(it->second);
    if (inside.empty()) return;
    std::sort(inside.begin(), inside.end(), [](const auto& a, const auto& b) { return a.order < b.order; });
    pugi::xml_document held;
    for (const AnchorEntry& entry : inside)
        held.append_copy(entry.anchor);
    const std::string target = drawingPart(toSheet, true);
    pugi::xml_node root = package.xml(target).first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    int id = highestShapeId(target, root);
    for (pugi::xml_node anchor : held.children()) {
        pugi::xml_node placed = root.append_copy(anchor);
        for (const char* end : {"from", "to"})
            if (pugi::xml_node m = child(placed, end)) Marker{m}.setRow(Marker{m}.row() + rowShift);
        for (pugi::xpath_node n : placed.select_nodes(".//*[@id]"))
            if (std::strcmp(localName(n.node()), "cNvPr") == 0) n.node().attribute("id").set_value(++id);
        shapeIds[target] = id;
        noteAnchor(target, placed);
        if (target == source) continue;
        std::vector<pugi::xml_attribute> refs;
        collectRelAttributes(placed, refs);
        for (pugi::xml_attribute ref : refs) {
            const std::string media = relationshipTarget(source, ref.value());
            if (!media.empty()) ref.set_value(addRelationship(target, ImageType, media).c_str());
        }
    }
}

void Workbook::Impl::shiftDrawing(const std::string& sheetPart, int first, int last) {
    const std::string drawing = drawingPart(sheetPart, false);
    if (drawing.empty()) return;
    forgetDrawings();
    const int count = last - first + 1;
    pugi::xml_node root = package.xml(drawing).first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    pugi::xml_node drawingRels = relationships(drawing, false);
    for (pugi::xml_node anchor = root.first_child(); anchor;) {
        pugi::xml_node next = anchor.next_sibling();
        if (!isAnchor(anchor)) {
            anchor = next;
            continue;
        }
        Marker from{child(anchor, "from")};
        if (from.row() + 1 >= first && lastRowOf(anchor) <= last) {
            // Its picture goes with it unless another anchor still shows it.
            std::vector<pugi::xml_attribute> refs;
            collectRelAttributes(anchor, refs);
            std::vector<std::string> ids;
            for (auto a : refs)
                ids.push_back(a.value());
            root.remove_child(anchor);
            forgetRelationIds();
            for (const std::string& id : ids) {
                std::vector<pugi::xml_attribute> still;
                collectRelAttributes(root, still);
                if (std::any_of(still.begin(), still.end(), [&](auto a) { return id == a.value(); }))
                    continue;
                for (pugi::xml_node r : drawingRels.children("Relationship"))
                    if (id == r.attribute("Id").value()) {
                        const std::string media = resolveTarget(drawing, r.attribute("Target").value());
                        package.xml(relsPartOf(drawing));
                        drawingRels.remove_child(r);
                        if (!mediaInUse(package, media)) package.remove(media);
                        break;
                    }
            }
        } else {
            for (const char* end : {"from", "to"}) {
                Marker m{child(anchor, end)};
                if (!m.node) continue;
                const int row = m.row() + 1; // 1-based
                if (row > last)
                    m.setRow(m.row() - count);
                else if (row >= first)
                    m.setRow(first - 1);
            }
        }
        anchor = next;
    }
}

void Workbook::Impl::refreshPictureFrames(const std::string& sheetPart) {
    const std::string drawing = drawingPart(sheetPart, false);
    if (drawing.empty() || !package.has(drawing)) return;
    pugi::xml_node root = package.xml(drawing, false).first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    // Cumulative widths, so that a sheet of many pictures is measured once.
    std::vector<double> columnLeft{0};
    const auto leftOf = [&](int column) {
        while (int(columnLeft.size()) <= column)
            columnLeft.push_back(columnLeft.back() + columnWidth(sheetPart, int(columnLeft.size())));
        return columnLeft[size_t(column)];
    };
    bool changed = false;
    for (pugi::xml_node anchor : root.children()) {
        if (std::strcmp(localName(anchor), "twoCellAnchor") != 0) continue;
        const Marker from{child(anchor, "from")}, to{child(anchor, "to")};
        const double left = leftOf(from.column()) + double(from.columnOff()) / EmuPerPoint;
        const double top = rowTop(sheetPart, from.row() + 1) + double(from.rowOff()) / EmuPerPoint;
        const double right = leftOf(to.column()) + double(to.columnOff()) / EmuPerPoint;
        const double bottom = rowTop(sheetPart, to.row() + 1) + double(to.rowOff()) / EmuPerPoint;
        for (pugi::xpath_node n : anchor.select_nodes(".//*[local-name()='xfrm']")) {
            pugi::xml_node off = child(n.node(), "off"), ext = child(n.node(), "ext");
            if (!off || !ext) continue;
            const long long values[] = {std::llround(left * EmuPerPoint), std::llround(top * EmuPerPoint),
                                        std::llround((right - left) * EmuPerPoint),
                                        std::llround((bottom - top) * EmuPerPoint)};
            if (off.attribute("x").as_llong() == values[0] && off.attribute("y").as_llong() == values[1] &&
                ext.attribute("cx").as_llong() == values[2] && ext.attribute("cy").as_llong() == values[3])
                break;
            if (!changed) package.xml(drawing, true), changed = true;
            off.attribute("x").set_value(values[0]);
            off.attribute("y").set_value(values[1]);
            ext.attribute("cx").set_value(values[2]);
            ext.attribute("cy").set_value(values[3]);
            break;
        }
    }
}

int Workbook::Impl::lastDrawingColumn(const std::string& sheetPart) {
    const std::string drawing = drawingPart(sheetPart, false);
    if (drawing.empty()) return 0;
    pugi::xml_node root = package.xml(drawing, false).first_child();
    while (root && root.type() != pugi::node_element)
        root = root.next_sibling();
    int last = 0;
    for (pugi::xml_node anchor : root.children()) {
        if (!isAnchor(anchor)) continue;
        const Marker end{child(anchor, child(anchor, "to") ? "to" : "from")};
        // An end exactly on a column's left edge does not reach into it.
        last = std::max(last, end.columnOff() > 0 ? end.column() + 1 : end.column());
    }
    return last;
}
