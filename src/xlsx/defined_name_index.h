#pragma once

#include <QHash>
#include <QString>

#include <pugixml.hpp>

#include <map>
#include <vector>

// The defined names of a book by the sheet they are local to and by the sheets their formulas
// refer to, so that copying, renaming or shortening one sheet among thousands looks only at the
// names that concern it. Every change to a name's text or sheet goes through here.
class DefinedNameIndex {
public:
    explicit DefinedNameIndex(pugi::xml_node definedNames);

    // Names whose localSheetId is `position` (0-based), in the order of the file.
    std::vector<pugi::xml_node> localTo(int position) const;
    // Names whose formula refers to the sheet (letter case ignored), in no particular order.
    std::vector<pugi::xml_node> mentioning(const QString& sheet) const;

    // A name just placed in the book, or one about to leave it.
    void add(pugi::xml_node name);
    void remove(pugi::xml_node name);
    // A sheet was inserted at `position` (0-based): names local to it and to the sheets after it
    // move one along, their attribute with them.
    void sheetInserted(int position);
    // After the formulas that referred to `from` were rewritten to refer to `to`.
    void sheetRenamed(const QString& from, const QString& to);

private:
    static QString key(const QString& sheet) { return sheet.toCaseFolded(); }
    static std::vector<QString> keysOf(pugi::xml_node name);

    std::map<int, std::vector<pugi::xml_node>> local_;
    QHash<QString, std::vector<pugi::xml_node>> mentions_;
};
