#include "delivery/index_checker.h"

using namespace Qt::StringLiterals;
using namespace PhotoStandard;

namespace IndexCheck::Detail {

namespace {

bool isRequired(Occurs occurs) {
    return occurs == Occurs::One || occurs == Occurs::OneOrMore;
}

bool isSingle(Occurs occurs) {
    return occurs == Occurs::One || occurs == Occurs::Optional;
}

} // namespace

void Checker::structure(const pugi::xml_node& root) {
    QList<Placed> found;
    structureOf(root, 0, 0, nullptr, found);
    QSet<std::pair<const void*, QString>> misplaced;
    for (const Placed& placed : found)
        if (placed.misplaced) misplaced.insert({placed.block, placed.element});
    for (const Placed& placed : found)
        if (!placed.missing || !misplaced.contains({placed.block, placed.element}))
            findings << placed.finding;
}

void Checker::structureOf(const pugi::xml_node& node, int index, int serial, const void* block,
                          QList<Placed>& found) const {
    const auto report = [&](int at, const QString& element, const QString& message) -> Placed& {
        found << Placed{Findings::make(Finding::Severity::Error, u"structure"_s, at, element, message), block,
                        element};
        return found.last();
    };
    const Element& element = table_.at(index);
    const QString name = element.name;
    if (!element.container) {
        for (const pugi::xml_node& child : node.children())
            if (child.type() == pugi::node_element) {
                report(serial, name, tag(name) + u"の中に要素は書けません: "_s + tag(nameOf(child)));
                break;
            }
        return;
    }
    const QList<int> model = children(version_, index);
    qsizetype m = 0;
    int count = 0;
    const auto missingUpTo = [&](qsizetype end) {
        for (qsizetype j = m; j < end; ++j) {
            const Element& expected = table_.at(model.at(j));
            if ((j > m || count == 0) && isRequired(expected.occurs))
                report(serial, expected.name, tag(name) + u"に"_s + tag(expected.name) + u"がありません。"_s)
                    .missing = true;
        }
    };
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            if (!QString::fromUtf8(child.value()).trimmed().isEmpty())
                report(serial, name, tag(name) + u"の中に文字は書けません。"_s);
            continue;
        }
        if (child.type() != pugi::node_element) continue;
        const QString childName = nameOf(child);
        const bool isBlock = childName == u"写真情報"_s;
        const int childSerial = isBlock ? serialOf(child) : serial;
        const void* childBlock = isBlock ? child.internal_object() : block;
        qsizetype k = m;
        while (k < model.size() && table_.at(model.at(k)).name != childName)
            ++k;
        if (k == model.size()) {
            const bool known = find(version_, childName) >= 0;
            report(childSerial, childName,
                   known ? tag(childName) + u"はここに書けません（"_s + tag(name) +
                               u"の中、順序または場所が違います）。"_s
                         : tag(childName) + u"は "_s + dtdName(version_) + u" にない要素です。"_s)
                .misplaced = known;
            continue;
        }
        if (k == m) {
            ++count;
            if (count > 1 && isSingle(table_.at(model.at(k)).occurs))
                report(childSerial, childName, tag(childName) + u"が重複しています。"_s);
        } else {
            missingUpTo(k);
            m = k;
            count = 1;
        }
        structureOf(child, model.at(k), childSerial, childBlock, found);
    }
    missingUpTo(model.size());
}

bool Checker::requiredInParent(const QString& name) const {
    const int index = find(version_, name);
    return index >= 0 && isRequired(table_.at(index).occurs);
}

} // namespace IndexCheck::Detail
