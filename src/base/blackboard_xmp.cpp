#include "base/blackboard_xmp.h"

#include "base/jpeg_segments.h"

#include <QStringDecoder>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace BlackboardXmp {

const QString BrokenPacket = u"黒板情報（XMP）を読み取れません"_s;

namespace {

const QString Rdf = u"http://www.w3.org/1999/02/22-rdf-syntax-ns#"_s;
const QString XmpNote = u"http://ns.adobe.com/xmp/note/"_s;
const QString Photo = QString::fromLatin1(PhotoInfoNamespace);
const QString Measurement = u"http://dcpadv.org/schema/3.0/measurement"_s;
const QString Item = u"http://dcpadv.org/schema/3.0/measurementitem"_s;

// Deeper nesting than any blackboard needs is not followed, so no input can exhaust the stack.
constexpr int MaxDepth = 24;
// Extended XMP beyond this is no blackboard's.
constexpr quint32 MaxExtendedBytes = 16 * 1024 * 1024;
constexpr int GuidSize = 32;
constexpr int ChunkHeaderSize = GuidSize + 8;

QString key(const QString& uri, const QString& local) {
    return uri + u'|' + local;
}

// An RDF value: text, a list (Seq, Bag, Alt) or a structure of named fields.
struct Field;
struct Node {
    QString text;
    std::vector<Node> items;
    std::vector<Field> fields;
    const Node* field(const QString& name) const;
};
struct Field {
    QString name; // namespace URI | local name
    Node value;
};

const Node* Node::field(const QString& name) const {
    for (const Field& f : fields)
        if (f.name == name) return &f.value;
    return nullptr;
}

QString utf8(const char* text) {
    return QString::fromUtf8(text, qsizetype(std::strlen(text)));
}

// The namespace a prefix stands for where `node` is; empty when it is declared nowhere.
QString namespaceOf(pugi::xml_node node, const QString& prefix) {
    const QByteArray attribute = prefix.isEmpty() ? QByteArray("xmlns") : "xmlns:" + prefix.toUtf8();
    for (; node; node = node.parent())
        if (const pugi::xml_attribute a = node.attribute(attribute.constData())) return utf8(a.value());
    return {};
}

QString qualified(pugi::xml_node scope, const char* rawName) {
    const QString name = utf8(rawName);
    const qsizetype colon = name.indexOf(u':');
    const QString prefix = colon < 0 ? QString() : name.left(colon);
    return key(namespaceOf(scope, prefix), name.mid(colon + 1));
}

bool isRdf(pugi::xml_node node, const QString& local) {
    return qualified(node, node.name()) == key(Rdf, local);
}

// Line breaks cannot stand in an information line, nor tabs in the command line's output.
QString cleaned(const QString& text) {
    QString line = QString(text).replace(u"\r\n"_s, u" "_s);
    for (QChar& c : line)
        if (c == u'\r' || c == u'\n' || c == u'\t') c = u' ';
    return line.trimmed();
}

void merge(Node& into, Node&& from) {
    for (Field& f : from.fields)
        into.fields.push_back(std::move(f));
}

// Property elements in every layout writers use: text, attributes of the element, a
// parseType="Resource" structure (also on an rdf:Description itself), a nested
// rdf:Description, or a Seq, Bag or Alt of such values.
Node parse(pugi::xml_node element, int depth) {
    Node node;
    if (depth > MaxDepth) return node;
    for (pugi::xml_attribute a : element.attributes()) {
        const QString raw = utf8(a.name());
        if (raw.startsWith(u"xmlns"_s) || raw.startsWith(u"xml:"_s)) continue;
        const QString name = qualified(element, a.name());
        if (name == key(Rdf, u"resource"_s))
            node.text = cleaned(utf8(a.value()));
        else if (!name.startsWith(Rdf + u'|'))
            node.fields.push_back({name, Node{cleaned(utf8(a.value())), {}, {}}});
    }
    bool hasElements = false;
    for (pugi::xml_node child : element.children()) {
        if (child.type() != pugi::node_element) continue;
        hasElements = true;
        if (isRdf(child, u"Seq"_s) || isRdf(child, u"Bag"_s) || isRdf(child, u"Alt"_s)) {
            for (pugi::xml_node li : child.children())
                if (li.type() == pugi::node_element && isRdf(li, u"li"_s))
                    node.items.push_back(parse(li, depth + 1));
        } else if (isRdf(child, u"Description"_s)) {
            merge(node, parse(child, depth + 1));
        } else {
            node.fields.push_back({qualified(child, child.name()), parse(child, depth + 1)});
        }
    }
    if (!hasElements && node.text.isEmpty()) node.text = cleaned(utf8(element.text().get()));
    return node;
}

QString textOf(const Node* node, const QString& name) {
    const Node* field = node ? node->field(name) : nullptr;
    if (!field) return {};
    if (!field->text.isEmpty() || field->items.empty()) return field->text;
    return field->items.front().text; // an Alt of languages: the first
}

// Packets are UTF-8; some writers put Shift_JIS text in them instead, which is read as such
// rather than passed over.
bool decodePacket(const QByteArray& bytes, QByteArray& utf8Text) {
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    const QString text = fromUtf8(bytes);
    if (!fromUtf8.hasError()) {
        utf8Text = bytes;
        return true;
    }
    QStringDecoder fromCp932("windows-31j");
    const QString sjis = fromCp932.isValid() ? QString(fromCp932(bytes)) : QString();
    if (!fromCp932.isValid() || fromCp932.hasError()) return false;
    utf8Text = sjis.toUtf8();
    return true;
}

// The fields of every rdf:Description of one packet, added to root. False with the reason
// when the packet cannot be read.
bool readPacket(const QByteArray& bytes, Node& root, QString& reason) {
    QByteArray text;
    if (!decodePacket(bytes, text)) {
        reason = u"文字コードが UTF-8 でも Shift_JIS でもありません"_s;
        return false;
    }
    // XMP has no DTD; one in a packet is refused rather than skipped over.
    if (text.contains("<!DOCTYPE") || text.contains("<!ENTITY")) {
        reason = u"DTD を含んでいます"_s;
        return false;
    }
    pugi::xml_document document;
    // parse_default expands only the five predefined entities and character references.
    const pugi::xml_parse_result parsed =
        document.load_buffer(text.constData(), size_t(text.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        reason = u"XML として読めません（"_s + QString::fromLatin1(parsed.description()) + u"）"_s;
        return false;
    }
    const pugi::xml_node rdf = document.find_node(
        [](pugi::xml_node node) { return node.type() == pugi::node_element && isRdf(node, u"RDF"_s); });
    for (pugi::xml_node description : rdf.children())
        if (description.type() == pugi::node_element && isRdf(description, u"Description"_s))
            merge(root, parse(description, 0));
    return true;
}

// The extended packet named by guid, put together from its chunks by their offsets; empty
// when none of its chunks are there or they do not fill it.
QByteArray extendedPacket(const QString& guid, const QList<QByteArray>& chunks, bool& incomplete) {
    QByteArray packet;
    qint64 filled = 0;
    for (const QByteArray& chunk : chunks) {
        if (chunk.size() < ChunkHeaderSize || QString::fromLatin1(chunk.left(GuidSize)) != guid) continue;
        const quint32 length = JpegSegments::number(chunk, GuidSize, 4, false);
        const quint32 offset = JpegSegments::number(chunk, GuidSize + 4, 4, false);
        const QByteArray data = chunk.mid(ChunkHeaderSize);
        if (length > MaxExtendedBytes || qint64(offset) + data.size() > length) continue;
        if (packet.isEmpty()) packet = QByteArray(qsizetype(length), ' ');
        if (packet.size() != qsizetype(length)) continue;
        packet.replace(offset, data.size(), data);
        filled += data.size();
    }
    incomplete = !packet.isEmpty() && filled < packet.size();
    return incomplete ? QByteArray() : packet;
}

MeasurementItem measurementItem(const Node& node) {
    return {textOf(&node, key(Item, u"Name"_s)),          textOf(&node, key(Item, u"Mark"_s)),
            textOf(&node, key(Item, u"DesignedValue"_s)), textOf(&node, key(Item, u"MeasuredValue"_s)),
            textOf(&node, key(Item, u"UnitName"_s)),      textOf(&node, key(Item, u"Remarks"_s))};
}

Blackboard blackboardOf(const Node& root) {
    const auto photo = [&root](const char* name) {
        return textOf(&root, key(Photo, QString::fromLatin1(name)));
    };
    Blackboard b;
    b.constructionName = photo("ConstructionName");
    b.contructor = photo("Contructor");
    b.largeClassification = photo("LargeClassification");
    b.photoClassification = photo("PhotoClassification");
    b.constructionType = photo("ConstructionType");
    b.middleClassification = photo("MiddleClassification");
    b.smallClassification = photo("SmallClassification");
    b.title = photo("Title");
    b.shootingSpot = photo("ShootingSpot");
    b.isRepresentative = photo("IsRepresentative");
    b.isFrequencyOfSubmission = photo("IsFrequencyOfSubmission");
    b.contractorRemarks = photo("ContractorRemarks");
    b.remarks = photo("Remarks");
    if (const Node* remarks = root.field(key(Photo, u"ClassificationRemarks"_s))) {
        for (const Node& item : remarks->items)
            if (!item.text.isEmpty()) b.classificationRemarks << item.text;
        if (!remarks->text.isEmpty()) b.classificationRemarks << remarks->text;
    }
    if (const Node* measurements = root.field(key(Photo, u"Measurements"_s))) {
        b.measurementClassification = textOf(measurements, key(Measurement, u"Classification"_s));
        if (const Node* list = measurements->field(key(Measurement, u"MeasurementItems"_s)))
            for (const Node& item : list->items)
                b.measurementItems << measurementItem(item);
    }
    return b;
}

} // namespace

BlackboardReading fromPackets(const QByteArray& xmp, const QList<QByteArray>& extendedXmp) {
    BlackboardReading reading;
    if (xmp.isEmpty()) return reading;
    Node root;
    QString reason;
    if (!readPacket(xmp, root, reason)) {
        reading.note = BrokenPacket + u": "_s + reason;
        return reading;
    }
    const QString guid = textOf(&root, key(XmpNote, u"HasExtendedXMP"_s));
    if (!guid.isEmpty()) {
        bool incomplete = false;
        const QByteArray extended = extendedPacket(guid, extendedXmp, incomplete);
        if (incomplete)
            reading.note = BrokenPacket + u": 拡張 XMP が欠けています"_s;
        else if (!extended.isEmpty() && !readPacket(extended, root, reason))
            reading.note = BrokenPacket + u": 拡張 XMP "_s + reason;
    }
    reading.found = std::any_of(root.fields.begin(), root.fields.end(),
                                [](const Field& f) { return f.name.startsWith(Photo + u'|'); });
    if (reading.found) reading.blackboard = blackboardOf(root);
    return reading;
}

BlackboardReading read(const QString& path) {
    const JpegSegments::Metadata metadata = JpegSegments::read(path);
    BlackboardReading reading = fromPackets(metadata.xmp, metadata.extendedXmp);
    reading.taken = metadata.taken;
    return reading;
}

QList<BlackboardItem> items(const Blackboard& b) {
    QList<BlackboardItem> list = {
        {u"ConstructionName"_s, u"工事名"_s, b.constructionName},
        {u"Contructor"_s, u"施工者"_s, b.contructor},
        {u"LargeClassification"_s, u"写真-大分類"_s, b.largeClassification},
        {u"PhotoClassification"_s, u"写真区分"_s, b.photoClassification},
        {u"ConstructionType"_s, u"工種"_s, b.constructionType},
        {u"MiddleClassification"_s, u"種別"_s, b.middleClassification},
        {u"SmallClassification"_s, u"細別"_s, b.smallClassification},
        {u"Title"_s, u"写真タイトル"_s, b.title},
    };
    for (qsizetype i = 0; i < b.classificationRemarks.size(); ++i)
        list.append({u"ClassificationRemarks["_s + QString::number(i + 1) + u']', u"工種区分予備"_s,
                     b.classificationRemarks.at(i)});
    list.append({{u"ShootingSpot"_s, u"撮影箇所"_s, b.shootingSpot},
                 {u"IsRepresentative"_s, u"代表写真"_s, b.isRepresentative},
                 {u"IsFrequencyOfSubmission"_s, u"提出頻度写真"_s, b.isFrequencyOfSubmission},
                 {u"Measurements/Classification"_s, u"計測値の区分"_s, b.measurementClassification}});
    for (qsizetype i = 0; i < b.measurementItems.size(); ++i) {
        const MeasurementItem& m = b.measurementItems.at(i);
        const QString name = u"MeasurementItems["_s + QString::number(i + 1) + u"]/"_s;
        const QString caption = u"計測項目 "_s + QString::number(i + 1) + u' ';
        list.append({{name + u"Name"_s, caption + u"名称"_s, m.name},
                     {name + u"Mark"_s, caption + u"記号"_s, m.mark},
                     {name + u"DesignedValue"_s, caption + u"設計値"_s, m.designedValue},
                     {name + u"MeasuredValue"_s, caption + u"実測値"_s, m.measuredValue},
                     {name + u"UnitName"_s, caption + u"単位"_s, m.unitName},
                     {name + u"Remarks"_s, caption + u"備考"_s, m.remarks}});
    }
    list.append({{u"ContractorRemarks"_s, u"請負者説明文"_s, b.contractorRemarks},
                 {u"Remarks"_s, u"備考"_s, b.remarks}});
    list.removeIf([](const BlackboardItem& item) { return item.value.isEmpty(); });
    return list;
}

} // namespace BlackboardXmp
