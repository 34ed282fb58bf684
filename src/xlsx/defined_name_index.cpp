#include "xlsx/defined_name_index.h"

#include "xlsx/sheet_references.h"

#include <algorithm>

DefinedNameIndex::DefinedNameIndex(pugi::xml_node definedNames) {
    for (pugi::xml_node n : definedNames.children("definedName"))
        add(n);
}

std::vector<QString> DefinedNameIndex::keysOf(pugi::xml_node name) {
    std::vector<QString> keys;
    SheetReferences::rewrite(QString::fromUtf8(name.text().get()),
                             [&](const QString& sheet, const QString&) -> std::optional<QString> {
                                 if (std::find(keys.begin(), keys.end(), key(sheet)) == keys.end())
                                     keys.push_back(key(sheet));
                                 return std::nullopt;
                             });
    return keys;
}

std::vector<pugi::xml_node> DefinedNameIndex::localTo(int position) const {
    const auto found = local_.find(position);
    return found == local_.end() ? std::vector<pugi::xml_node>() : found->second;
}

std::vector<pugi::xml_node> DefinedNameIndex::mentioning(const QString& sheet) const {
    return mentions_.value(key(sheet));
}

void DefinedNameIndex::add(pugi::xml_node name) {
    if (pugi::xml_attribute local = name.attribute("localSheetId")) local_[local.as_int()].push_back(name);
    for (const QString& k : keysOf(name))
        mentions_[k].push_back(name);
}

void DefinedNameIndex::remove(pugi::xml_node name) {
    const auto drop = [&](std::vector<pugi::xml_node>& list) {
        list.erase(std::remove(list.begin(), list.end(), name), list.end());
    };
    if (pugi::xml_attribute local = name.attribute("localSheetId")) {
        const auto found = local_.find(local.as_int());
        if (found != local_.end()) drop(found->second);
    }
    for (const QString& k : keysOf(name)) {
        const auto found = mentions_.find(k);
        if (found != mentions_.end()) drop(found.value());
    }
}

void DefinedNameIndex::sheetInserted(int position) {
    std::map<int, std::vector<pugi::xml_node>> moved;
    for (auto it = local_.lower_bound(position); it != local_.end(); it = local_.erase(it)) {
        for (pugi::xml_node n : it->second)
            n.attribute("localSheetId").set_value(it->first + 1);
        moved.emplace(it->first + 1, std::move(it->second));
    }
    // Every key moved lies above those left, so none collide.
    local_.merge(moved);
}

void DefinedNameIndex::sheetRenamed(const QString& from, const QString& to) {
    if (key(from) == key(to)) return;
    std::vector<pugi::xml_node> names = mentions_.take(key(from));
    std::vector<pugi::xml_node>& now = mentions_[key(to)];
    for (pugi::xml_node n : names)
        if (std::find(now.begin(), now.end(), n) == now.end()) now.push_back(n);
}
