#pragma once

#include <QHash>
#include <QString>

#include <pugixml.hpp>

#include <string>
#include <vector>

// The workbook's sheets in order, found by name without a walk: a book of thousands of sheets is
// asked for names after every copy. Names ignore letter case, as a spreadsheet program's do.
class SheetDirectory {
public:
    struct Sheet {
        QString name;
        std::string part;
        pugi::xml_node element; // <sheet> in workbook.xml
    };

    SheetDirectory(std::vector<Sheet> sheets, int highestId);

    const std::vector<Sheet>& list() const { return sheets_; }
    // 1-based position of the first sheet so named; 0 when there is none.
    int indexOf(const QString& name) const;
    // The highest sheetId of the sheets.
    int highestId() const { return highestId_; }

    void insert(int index, Sheet sheet, int id);
    // After the sheet's element left the book.
    void erase(int index);
    void rename(int index, const QString& name);

private:
    static QString key(const QString& name) { return name.toCaseFolded(); }
    void shiftFrom(int index, int by);
    void claim(const QString& name, int index);

    std::vector<Sheet> sheets_;
    QHash<QString, int> byName_;
    // A file may carry two sheets whose names differ in case only; their lookups then walk the list.
    bool ambiguous_ = false;
    int highestId_ = 0;
};
