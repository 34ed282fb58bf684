#include "xlsx/sheet_directory.h"

SheetDirectory::SheetDirectory(std::vector<Sheet> sheets, int highestId)
    : sheets_(std::move(sheets)), highestId_(highestId) {
    for (size_t i = 0; i < sheets_.size(); ++i)
        claim(sheets_[i].name, int(i) + 1);
}

void SheetDirectory::claim(const QString& name, int index) {
    const QString k = key(name);
    if (byName_.contains(k))
        ambiguous_ = true;
    else
        byName_.insert(k, index);
}

int SheetDirectory::indexOf(const QString& name) const {
    if (ambiguous_) {
        for (size_t i = 0; i < sheets_.size(); ++i)
            if (sheets_[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i) + 1;
        return 0;
    }
    return byName_.value(key(name), 0);
}

void SheetDirectory::shiftFrom(int index, int by) {
    for (auto it = byName_.begin(); it != byName_.end(); ++it)
        if (it.value() >= index) it.value() += by;
}

void SheetDirectory::insert(int index, Sheet sheet, int id) {
    shiftFrom(index, 1);
    claim(sheet.name, index);
    sheets_.insert(sheets_.begin() + (index - 1), std::move(sheet));
    highestId_ = std::max(highestId_, id);
}

void SheetDirectory::erase(int index) {
    if (byName_.value(key(sheets_[size_t(index - 1)].name)) == index)
        byName_.remove(key(sheets_[size_t(index - 1)].name));
    sheets_.erase(sheets_.begin() + (index - 1));
    shiftFrom(index + 1, -1);
    // The next copy takes the id after the highest of the sheets left, as on reading the file.
    highestId_ = 0;
    for (const Sheet& sheet : sheets_)
        highestId_ = std::max(highestId_, sheet.element.attribute("sheetId").as_int());
}

void SheetDirectory::rename(int index, const QString& name) {
    Sheet& sheet = sheets_[size_t(index - 1)];
    if (byName_.value(key(sheet.name)) == index) byName_.remove(key(sheet.name));
    sheet.name = name;
    claim(name, index);
}
