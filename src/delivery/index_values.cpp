#include "delivery/index_checker.h"
#include "delivery/value_rules.h"

using namespace Qt::StringLiterals;
using namespace PhotoStandard;

namespace IndexCheck::Detail {

namespace {

// "lt" -> "<", "#x3042" -> "あ"; nothing when name is no predefined entity or character reference.
std::optional<QString> replacement(const QString& name) {
    static const QHash<QString, QString> predefined = {
        {u"lt"_s, u"<"_s}, {u"gt"_s, u">"_s}, {u"amp"_s, u"&"_s}, {u"apos"_s, u"'"_s}, {u"quot"_s, u"\""_s}};
    if (predefined.contains(name)) return predefined.value(name);
    if (!name.startsWith(u'#') || name.size() < 2) return std::nullopt;
    const bool hex = name.at(1) == u'x';
    bool ok = false;
    const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code > 0x10FFFF) return std::nullopt;
    const char32_t character = code;
    return QString::fromUcs4(&character, 1);
}

bool isEntityName(const QString& name) {
    if (name.isEmpty() || name.size() > 64) return false;
    if (!name.at(0).isLetter() && name.at(0) != u'_' && name.at(0) != u':') return false;
    for (QChar c : name)
        if (!c.isLetterOrNumber() && c != u'_' && c != u':' && c != u'.' && c != u'-') return false;
    return true;
}

void decodeInto(const QString& raw, LeafText& text) {
    qsizetype at = 0;
    while (at < raw.size()) {
        const qsizetype amp = raw.indexOf(u'&', at);
        if (amp < 0) {
            text.value += raw.mid(at);
            return;
        }
        text.value += raw.mid(at, amp - at);
        const qsizetype semi = raw.indexOf(u';', amp);
        const QString name = semi > amp ? raw.mid(amp + 1, semi - amp - 1) : QString();
        if (const std::optional<QString> replaced = replacement(name)) {
            text.value += *replaced;
            at = semi + 1;
        } else if (isEntityName(name)) {
            const QString reference = raw.mid(amp, semi - amp + 1);
            if (!text.entities.contains(reference)) text.entities << reference;
            text.value += reference;
            at = semi + 1;
        } else {
            text.bareAmpersand = true;
            text.value += u'&';
            at = amp + 1;
        }
    }
}

void collectLeaves(const pugi::xml_node& node, QHash<QString, QString>& values) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        if (!isLeaf(child))
            collectLeaves(child, values);
        else if (!values.contains(nameOf(child)))
            values.insert(nameOf(child), textOf(child));
    }
}

bool hasNonZeroDigit(const QString& digits) {
    for (QChar c : digits)
        if (c != u'0') return true;
    return false;
}

} // namespace

QString nameOf(const pugi::xml_node& node) {
    return QString::fromUtf8(node.name());
}

QString tag(const QString& name) {
    return u"〈"_s + name + u"〉"_s;
}

LeafText leafText(const pugi::xml_node& node) {
    LeafText text;
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() == pugi::node_cdata)
            text.value += QString::fromUtf8(child.value());
        else if (child.type() == pugi::node_pcdata)
            decodeInto(QString::fromUtf8(child.value()), text);
    }
    return text;
}

QString textOf(const pugi::xml_node& node) {
    return leafText(node).value;
}

bool isLeaf(const pugi::xml_node& node) {
    return !node.find_child([](const pugi::xml_node& c) { return c.type() == pugi::node_element; });
}

QHash<QString, QString> leavesOf(const pugi::xml_node& node) {
    QHash<QString, QString> values;
    collectLeaves(node, values);
    return values;
}

int serialOf(const pugi::xml_node& block) {
    const pugi::xml_node direct = block.child("写真ファイル情報").child("シリアル番号");
    const QString text = direct ? textOf(direct) : leavesOf(block).value(u"シリアル番号"_s);
    return ValueRules::isDigits(text) ? text.toInt() : 0;
}

void Checker::required(int serial, const QString& name, const QHash<QString, QString>& values) {
    if (values.contains(name) ? !values.value(name).isEmpty() : requiredInParent(name)) return;
    QString message = tag(name) + u"は必須です。"_s;
    if (fromAlbum_ && name == u"撮影年月日"_s)
        message = u"撮影年月日がありません: 情報の 13 行目が空で、写真の Exif にも撮影日時がありません。"_s;
    add(u"required"_s, serial, name, message);
    judged_ << name;
}

void Checker::basics(const pugi::xml_node& root) {
    judged_.clear();
    const pugi::xml_node basic = root.child("基礎情報");
    const QHash<QString, QString> values = leavesOf(basic);
    if (basic) {
        required(0, u"写真フォルダ名"_s, values);
        required(0, u"適用要領基準"_s, values);
    }
    const QList<std::pair<QString, QString>> folders = {{u"写真フォルダ名"_s, u"PHOTO/PIC"_s},
                                                        {u"参考図フォルダ名"_s, u"PHOTO/DRA"_s}};
    for (const auto& [name, expected] : folders) {
        const QString value = values.value(name);
        if (value.isEmpty() || value == expected) continue;
        add(u"value"_s, 0, name, tag(name) + u"は "_s + expected + u" です（今は「"_s + value + u"」）。"_s);
        judged_ << name;
    }
    standard_ = values.value(u"適用要領基準"_s);
    const QStringList allowed = standards(version_);
    if (!standard_.isEmpty() && !allowed.contains(standard_)) {
        add(u"value"_s, 0, u"適用要領基準"_s,
            u"適用要領基準「"_s + standard_ + u"」は "_s + dtdName(version_) + u" では使えません（"_s +
                allowed.join(u"、"_s) + u" のどれかにして下さい）。"_s);
        judged_ << u"適用要領基準"_s;
    }
    leafRules(basic, 0);
}

void Checker::requiredItems(int serial, const QHash<QString, QString>& values) {
    QStringList names = {u"シリアル番号"_s, u"写真ファイル名"_s, u"メディア番号"_s, u"写真-大分類"_s,
                         u"写真タイトル"_s};
    if (version_ == Version::V05) names += {u"撮影年月日"_s, u"代表写真"_s, u"提出頻度写真"_s};
    if (values.value(u"写真-大分類"_s) == u"工事"_s) names << u"写真区分"_s;
    for (const QString& name : names)
        required(serial, name, values);
}

void Checker::classes(int serial, const QHash<QString, QString>& values) {
    const QString mainClass = values.value(u"写真-大分類"_s);
    if (!mainClass.isEmpty() && !ValueRules::mainClasses().contains(mainClass)) {
        add(u"value"_s, serial, u"写真-大分類"_s,
            u"写真-大分類「"_s + mainClass + u"」は "_s + ValueRules::mainClasses().join(u"、"_s) +
                u" のどれかにして下さい。"_s);
        judged_ << u"写真-大分類"_s;
    }
    const QString workClass = values.value(u"写真区分"_s);
    if (mainClass == u"工事"_s && !workClass.isEmpty() && !ValueRules::workClasses().contains(workClass)) {
        add(u"value"_s, serial, u"写真区分"_s,
            u"写真区分「"_s + workClass + u"」は "_s + ValueRules::workClasses().join(u"、"_s) +
                u" のどれかにして下さい。"_s);
        judged_ << u"写真区分"_s;
    }
}

void Checker::numbers(int serial, const QHash<QString, QString>& values) {
    for (const QString& number : {u"シリアル番号"_s, u"メディア番号"_s}) {
        const QString value = values.value(number);
        if (value.isEmpty()) continue;
        if (!ValueRules::isDigits(value))
            add(u"value"_s, serial, number, tag(number) + u"は半角数字です（今は「"_s + value + u"」）。"_s);
        else if (!hasNonZeroDigit(value))
            add(u"value"_s, serial, number,
                tag(number) + u"は 1 から数えます（今は「"_s + value + u"」）。"_s);
        else
            continue;
        judged_ << number;
    }
    const QString serialText = values.value(u"シリアル番号"_s);
    if (serialText.isEmpty()) return;
    if (serials_.contains(serialText))
        add(u"filename"_s, serial, u"シリアル番号"_s,
            u"シリアル番号 "_s + serialText + u" が重複しています。"_s);
    serials_.insert(serialText);
}

void Checker::dateAndFlags(int serial, const QHash<QString, QString>& values) {
    for (const QString& flag : {u"代表写真"_s, u"提出頻度写真"_s}) {
        const QString value = values.value(flag);
        if (values.contains(flag) && !value.isEmpty() && value != u"0"_s && value != u"1"_s) {
            add(u"value"_s, serial, flag, tag(flag) + u"は 0 か 1 です（今は「"_s + value + u"」）。"_s);
            judged_ << flag;
        }
    }
    const QString date = values.value(u"撮影年月日"_s);
    if (!date.isEmpty() && !ValueRules::isIsoDate(date)) {
        add(u"date"_s, serial, u"撮影年月日"_s,
            u"撮影年月日「"_s + date + u"」は CCYY-MM-DD の形の、実在する日付にして下さい。"_s);
        judged_ << u"撮影年月日"_s;
    }
}

void Checker::photo(const pugi::xml_node& block) {
    judged_.clear();
    const QHash<QString, QString> values = leavesOf(block);
    const int serial = serialOf(block);
    requiredItems(serial, values);
    classes(serial, values);
    numbers(serial, values);
    dateAndFlags(serial, values);
    pictureFile(serial, values);
    drawings(block, serial);
    leafRules(block, serial);
}

void Checker::otherLeaves(const pugi::xml_node& root) {
    judged_.clear();
    for (const pugi::xml_node& child : root.children()) {
        if (child.type() != pugi::node_element) continue;
        const QString name = nameOf(child);
        if (name == u"写真情報"_s || name == u"基礎情報"_s) continue;
        if (isLeaf(child))
            leafRule(child, 0);
        else
            leafRules(child, 0);
    }
}

void Checker::leafRules(const pugi::xml_node& node, int serial) {
    for (const pugi::xml_node& child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        if (isLeaf(child))
            leafRule(child, serial);
        else
            leafRules(child, serial);
    }
}

void Checker::leafRule(const pugi::xml_node& leaf, int serial) {
    const QString name = nameOf(leaf);
    if (judged_.contains(name)) return;
    const LeafText text = leafText(leaf);
    if (!text.entities.isEmpty())
        add(u"entity"_s, serial, name,
            tag(name) + u"の "_s + text.entities.join(u" "_s) +
                u" は使えません（実体参照は読み手によって中身が変わるため、文字をそのまま書いて下さい）。"_s);
    if (text.bareAmpersand)
        add(u"structure"_s, serial, name, tag(name) + u"の「&」は XML では &amp; と書きます。"_s);
    const int index = find(version_, name);
    const int limit = index >= 0 ? table_.at(index).maxBytes : 254;
    const ValueRules::Measure measure = ValueRules::measure(text.value);
    const int length = measure.bytes;
    if (limit > 0 && length > limit)
        add(u"length"_s, serial, name,
            limit == 254
                ? QString(tag(name) + u"が長すぎます（全角 127 文字・半角 254 文字まで、今は半角 "_s +
                          QString::number(length) + u" 文字分）。"_s)
                : QString(tag(name) + u"は半角 "_s + QString::number(limit) + u" 文字までです（今は "_s +
                          QString::number(length) + u" 文字分）。"_s));
    if (!measure.badCharacters.isEmpty())
        add(u"charset"_s, serial, name,
            tag(name) + u"に使えない文字があります: "_s + measure.badCharacters.join(u"、"_s));
}

} // namespace IndexCheck::Detail
