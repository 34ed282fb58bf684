#pragma once

#include "xlsx/defined_name_index.h"
#include "xlsx/sheet_directory.h"
#include "xlsx/workbook.h"
#include "xlsx/xlsx_package.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

// Shared inside the engine: the package, the sheet list and the XML helpers.
namespace WorkbookXml {
inline constexpr const char* MainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
inline constexpr const char* RelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr const char* PackageRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";
inline constexpr const char* DrawingNs =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
inline constexpr const char* MainDrawingNs = "http://schemas.openxmlformats.org/drawingml/2006/main";
inline constexpr const char* SheetType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr const char* DrawingType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing";
inline constexpr const char* ImageType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";
inline constexpr long long EmuPerPoint = 12700;

// The relationship id attribute of an element, whatever prefix the file gives it.
pugi::xml_attribute relId(pugi::xml_node node);
// The child of a worksheet named `name`, created at its place in the schema's order.
pugi::xml_node worksheetChild(pugi::xml_node worksheet, const char* name);
// "xl/worksheets/_rels/sheet1.xml.rels" for "xl/worksheets/sheet1.xml".
std::string relsPartOf(const std::string& part);
// A relationship target made absolute against the part that holds it.
std::string resolveTarget(const std::string& fromPart, const std::string& target);
// The target as written in the relationships of fromPart.
std::string relativeTarget(const std::string& fromPart, const std::string& target);
} // namespace WorkbookXml

struct Workbook::Impl {
    XlsxPackage package;
    QString label;
    int active = 1;

    struct Clip {
        std::string sheetPart;
        int first = 0, last = 0;
    } clip;

    // Cells whose text was cut to fit, kept where they are as rows move, for the note.
    struct ShortenedCell {
        std::string part;
        int row = 0, column = 0;
    };
    std::vector<ShortenedCell> shortened;
    // Forgets the cells of rows first..last of the sheet (every row for 0, every column for 0).
    void forgetShortened(const std::string& part, int first = 0, int last = 0, int column = 0);

    // Row elements of each sheet by row number, built on demand.
    std::map<std::string, std::map<int, pugi::xml_node>> rowIndex;
    std::map<std::string, int> cachedXf; // "base|change" → new style index

    // The workbook's sheets in order, read once and kept as sheets are added, removed or renamed.
    using SheetInfo = SheetDirectory::Sheet;
    SheetDirectory& directory();
    const std::vector<SheetInfo>& sheets() { return directory().list(); }
    std::optional<SheetDirectory> sheetList;
    void forgetSheets() { sheetList.reset(); }
    // The defined names, indexed once and kept as they change.
    DefinedNameIndex& names();
    std::optional<DefinedNameIndex> nameIndex;
    std::set<std::string> setAsideParts; // sheets finished and kept as bytes
    int onlySelected = 0;                // the one sheet whose tab is known to be selected; 0 when not known
    SheetInfo sheet(int index);
    std::string activePart() { return sheet(active).part; }
    // The worksheet element; `changing` marks the part to be written from the tree.
    pugi::xml_node worksheet(const std::string& part, bool changing = false);

    // Relationships of a part: add one, find one's target, list them.
    std::string addRelationship(const std::string& part, const char* type, const std::string& target);
    // Ids in use by part, so that adding thousands of pictures does not rescan the list each time.
    struct RelationIds {
        pugi::xml_node list;
        std::set<int> taken;
        int lowestFree = 1;
    };
    std::map<std::string, RelationIds> relationIds;
    // After relationships were removed or a part replaced, ids are counted again.
    void forgetRelationIds() { relationIds.clear(); }
    std::string relationshipTarget(const std::string& part, const std::string& id);
    pugi::xml_node relationships(const std::string& part, bool create);
    void addContentOverride(const std::string& part, const char* contentType);
    void addContentDefault(const std::string& extension, const char* contentType);
    void removeContentOverride(const std::string& part);

    // Rows and cells.
    std::map<int, pugi::xml_node>& rows(const std::string& part);
    pugi::xml_node row(const std::string& part, int number, bool create);
    pugi::xml_node cell(const std::string& part, int row, int column, bool create);
    void forgetRows(const std::string& part) {
        rowIndex.erase(part);
        rowTops.erase(part);
    }

    // Merged ranges and manual row breaks of each sheet by row, so that pasting page after page
    // looks only at the rows it touches; entries keep the order of the file.
    struct MergeEntry {
        CellRef::Range range;
        long long order = 0;
        pugi::xml_node node;
    };
    struct BreakEntry {
        long long order = 0;
        pugi::xml_node node;
    };
    struct SheetMarks {
        std::multimap<int, MergeEntry> merges; // by first row
        int tallestMerge = 0;                  // rows below its first that the tallest range reaches
        std::multimap<int, BreakEntry> breaks; // by the row they follow
        int mergeCount = 0, breakCount = 0;    // as in the file, unreadable ones included
        long long order = 0;
    };
    std::map<std::string, SheetMarks> sheetMarks;
    SheetMarks& marks(const std::string& part);
    void forgetMarks(const std::string& part) { sheetMarks.erase(part); }
    // Ranges lying wholly in rows first..last, and breaks after one of them, in the file's order.
    std::vector<CellRef::Range> mergesWithin(const std::string& part, int first, int last);
    std::vector<int> breaksWithin(const std::string& part, int first, int last);
    // Removes the ranges reaching into rows first..last, and the breaks after one of them.
    void dropMergesOver(const std::string& part, int first, int last);
    void dropBreaksIn(const std::string& part, int first, int last);

    // Styles.
    int styleOf(pugi::xml_node cell);
    int cloneStyle(int base, const std::string& key, const std::function<void(pugi::xml_node xf)>& change);
    int numberFormatId(const QString& code);
    int addBorder(const std::function<void(pugi::xml_node border)>& fill, int basedOn);
    int addFont(const QString& name, double size);
    // The widest digit of the standard font in pixels, measured once.
    int digitWidthPixels();
    int digitWidth = 0;

    // Geometry of a sheet in points.
    double rowHeight(const std::string& part, int row);
    // Tops of rows summed once per sheet, so that placing a picture far down costs no walk from row 1:
    // entry k is the sum of the heights of rows 1..k.
    std::map<std::string, std::vector<double>> rowTops;
    double rowTop(const std::string& part, int row);
    // The row (0-based) holding the sheet position `points`, and the position's offset in it.
    int rowAt(const std::string& part, double points, double& offset);
    // Heights of rows from `row` on may have changed.
    void forgetRowTops(const std::string& part, int row);
    double columnWidth(const std::string& part, int column);

    // Drawings.
    std::string drawingPart(const std::string& sheetPart, bool create);
    // The highest shape id of each drawing, kept as pictures are added.
    std::map<std::string, int> shapeIds;
    int highestShapeId(const std::string& drawing, pugi::xml_node root);
    // The anchors of each drawing by their first row (1-based), in the order of the file, so that
    // copying a block of rows looks only at the pictures near it.
    struct AnchorEntry {
        int lastRow = 0;
        long long order = 0;
        pugi::xml_node anchor;
    };
    std::map<std::string, std::multimap<int, AnchorEntry>> anchorIndex;
    long long anchorOrder = 0;
    std::multimap<int, AnchorEntry>& anchors(const std::string& drawing, pugi::xml_node root);
    // Records an anchor appended to a drawing whose anchors are indexed.
    void noteAnchor(const std::string& drawing, pugi::xml_node anchor);
    // After anchors moved, went or whole parts were replaced.
    void forgetDrawings() {
        shapeIds.clear();
        anchorIndex.clear();
    }
    void refreshPictureFrames(const std::string& sheetPart);
    // The last column a picture of the sheet reaches into; 0 without pictures.
    int lastDrawingColumn(const std::string& sheetPart);
    void shiftDrawing(const std::string& sheetPart, int first, int last);
    void copyDrawings(const std::string& fromSheet, int first, int last, const std::string& toSheet,
                      int rowShift);

    // Defined names: references to rows of a sheet moved by deleting rows first..last.
    void shiftNames(const QString& sheetName, int first, int last);
    void updateDimension(const std::string& part);
};
