#include "delivery/index_check.h"

#include "app/app_error.h"
#include "delivery/value_rules.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <pugixml.hpp>

using namespace Qt::StringLiterals;
using namespace PhotoStandard;

namespace IndexCheck {

namespace {

QString nameOf(const pugi::xml_node& node) {
    return QString::fromUtf8(node.name());
}

QString textOf(const pugi::xml_node& node) {
    return QString::fromUtf8(node.text().get());
}

QString tag(const QString& name) {
    return u"〈"_s + name + u"〉"_s;
}

bool isRequired(Occurs occurs) {
    return occurs == Occurs::One || occurs == Occurs::OneOrMore;
}

bool isSingle(Occurs occurs) {
    return occurs == Occurs::One || occurs == Occurs::Optional;
}

QString upper(const QString& name) {
    return name.toUpper();
}

bool isLeaf(const pugi::xml_node& node) {
    return !node.find_child([](const pugi::xml_node& c) { return c.type() == pugi::node_element; });
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

// The 写真情報 block's leaves by name, wherever inside the block they stand.
QHash<QString, QString> leavesOf(const pugi::xml_node& block) {
    QHash<QString, QString> values;
    collectLeaves(block, values);
    return values;
}

int serialOf(const pugi::xml_node& block) {
    const pugi::xml_node direct = block.child("写真ファイル情報").child("シリアル番号");
    const QString text = direct ? textOf(direct) : leavesOf(block).value(u"シリアル番号"_s);
    return ValueRules::isDigits(text) ? text.toInt() : 0;
}

class Checker {
public:
    Checker(Version version, const IndexFiles& files, bool fromAlbum)
        : version_(version), table_(elements(version)), files_(files), fromAlbum_(fromAlbum) {}

    QList<Finding> findings;

    void add(const QString& code, int serial, const QString& element, const QString& message,
             Finding::Severity severity = Finding::Severity::Error) {
        findings << Findings::make(severity, code, serial, element, message);
    }

    void structure(const pugi::xml_node& node, int index, int serial) {
        const Element& element = table_.at(index);
        const QString name = element.name;
        if (!element.container) {
            for (const pugi::xml_node& child : node.children())
                if (child.type() == pugi::node_element) {
                    add(u"structure"_s, serial, name,
                        tag(name) + u"の中に要素は書けません: "_s + tag(nameOf(child)));
                    break;
                }
            return;
        }
        const QList<int> model = children(version_, index);
        qsizetype m = 0;
        int count = 0;
        const auto missingUpTo = [&](qsizetype end) {
            for (qsizetype j = m; j < end; ++j)
                if ((j > m || count == 0) && isRequired(table_.at(model.at(j)).occurs))
                    add(u"structure"_s, serial, table_.at(model.at(j)).name,
                        tag(name) + u"に"_s + tag(table_.at(model.at(j)).name) + u"がありません。"_s);
        };
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
                if (!QString::fromUtf8(child.value()).trimmed().isEmpty())
                    add(u"structure"_s, serial, name, tag(name) + u"の中に文字は書けません。"_s);
                continue;
            }
            if (child.type() != pugi::node_element) continue;
            const QString childName = nameOf(child);
            const int childSerial = childName == u"写真情報"_s ? serialOf(child) : serial;
            qsizetype k = m;
            while (k < model.size() && table_.at(model.at(k)).name != childName)
                ++k;
            if (k == model.size()) {
                const bool known = find(version_, childName) >= 0;
                add(u"structure"_s, childSerial, childName,
                    known ? tag(childName) + u"はここに書けません（"_s + tag(name) +
                                u"の中、順序または場所が違います）。"_s
                          : tag(childName) + u"は "_s + dtdName(version_) + u" にない要素です。"_s);
                continue;
            }
            if (k == m) {
                ++count;
                if (count > 1 && isSingle(table_.at(model.at(k)).occurs))
                    add(u"structure"_s, childSerial, childName, tag(childName) + u"が重複しています。"_s);
            } else {
                missingUpTo(k);
                m = k;
                count = 1;
            }
            structure(child, model.at(k), childSerial);
        }
        missingUpTo(model.size());
    }

    void leafRules(const pugi::xml_node& node, int serial) {
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            const int childSerial = nameOf(child) == u"写真情報"_s ? serialOf(child) : serial;
            if (!isLeaf(child)) {
                leafRules(child, childSerial);
                continue;
            }
            const QString name = nameOf(child);
            const QString value = textOf(child);
            const int index = find(version_, name);
            const int limit = index >= 0 ? table_.at(index).maxBytes : 254;
            const ValueRules::Measure measure = ValueRules::measure(value);
            const int length = measure.bytes;
            if (limit > 0 && length > limit)
                add(u"length"_s, childSerial, name,
                    limit == 254
                        ? QString(tag(name) + u"が長すぎます（全角 127 文字・半角 254 文字まで、今は半角 "_s +
                                  QString::number(length) + u" 文字分）。"_s)
                        : QString(tag(name) + u"は半角 "_s + QString::number(limit) +
                                  u" 文字までです（今は "_s + QString::number(length) + u" 文字分）。"_s));
            const QStringList& bad = measure.badCharacters;
            if (!bad.isEmpty())
                add(u"charset"_s, childSerial, name,
                    tag(name) + u"に使えない文字があります: "_s + bad.join(u"、"_s));
        }
    }

    void required(int serial, const QString& name, const QString& value) {
        if (!value.isEmpty()) return;
        QString message = tag(name) + u"は必須です。"_s;
        if (fromAlbum_ && name == u"撮影年月日"_s)
            message =
                u"撮影年月日がありません: 情報の 13 行目が空で、写真の Exif にも撮影日時がありません。"_s;
        add(u"required"_s, serial, name, message);
    }

    void basics(const pugi::xml_node& root) {
        const pugi::xml_node basic = root.child("基礎情報");
        for (const QString& name : {u"写真フォルダ名"_s, u"適用要領基準"_s})
            required(0, name, textOf(basic.child(name.toUtf8().constData())));
        standard_ = textOf(basic.child("適用要領基準"));
    }

    void photo(const pugi::xml_node& block) {
        const QHash<QString, QString> values = leavesOf(block);
        const int serial = serialOf(block);
        QStringList names = {u"シリアル番号"_s, u"写真ファイル名"_s, u"メディア番号"_s, u"写真-大分類"_s,
                             u"写真タイトル"_s};
        if (version_ == Version::V05) names += {u"撮影年月日"_s, u"代表写真"_s, u"提出頻度写真"_s};
        const QString mainClass = values.value(u"写真-大分類"_s);
        if (mainClass == u"工事"_s) names << u"写真区分"_s;
        for (const QString& name : names)
            required(serial, name, values.value(name));

        if (!mainClass.isEmpty() && !ValueRules::mainClasses().contains(mainClass))
            add(u"value"_s, serial, u"写真-大分類"_s,
                u"写真-大分類「"_s + mainClass + u"」は "_s + ValueRules::mainClasses().join(u"、"_s) +
                    u" のどれかにして下さい。"_s);
        const QString workClass = values.value(u"写真区分"_s);
        if (mainClass == u"工事"_s && !workClass.isEmpty() && !ValueRules::workClasses().contains(workClass))
            add(u"value"_s, serial, u"写真区分"_s,
                u"写真区分「"_s + workClass + u"」は "_s + ValueRules::workClasses().join(u"、"_s) +
                    u" のどれかにして下さい。"_s);
        for (const QString& flag : {u"代表写真"_s, u"提出頻度写真"_s}) {
            const QString value = values.value(flag);
            if (values.contains(flag) && !value.isEmpty() && value != u"0"_s && value != u"1"_s)
                add(u"value"_s, serial, flag, tag(flag) + u"は 0 か 1 です（今は「"_s + value + u"」）。"_s);
        }
        for (const QString& number : {u"シリアル番号"_s, u"メディア番号"_s}) {
            const QString value = values.value(number);
            if (!value.isEmpty() && !ValueRules::isDigits(value))
                add(u"value"_s, serial, number,
                    tag(number) + u"は半角数字です（今は「"_s + value + u"」）。"_s);
        }
        const QString date = values.value(u"撮影年月日"_s);
        if (!date.isEmpty() && !ValueRules::isIsoDate(date))
            add(u"date"_s, serial, u"撮影年月日"_s,
                u"撮影年月日「"_s + date + u"」は CCYY-MM-DD の形の、実在する日付にして下さい。"_s);

        const QString serialText = values.value(u"シリアル番号"_s);
        if (!serialText.isEmpty() && !serials_.contains(serialText))
            serials_.insert(serialText);
        else if (!serialText.isEmpty())
            add(u"filename"_s, serial, u"シリアル番号"_s,
                u"シリアル番号 "_s + serialText + u" が重複しています。"_s);
        pictureFile(serial, values.value(u"写真ファイル名"_s), date);
        const pugi::xml_node extra = block.child("付加情報");
        for (pugi::xml_node added = extra; added; added = added.next_sibling("付加情報")) {
            const QString drawing = textOf(added.child("参考図ファイル名"));
            required(serial, u"参考図ファイル名"_s, drawing);
            required(serial, u"参考図タイトル"_s, textOf(added.child("参考図タイトル")));
            if (drawing.isEmpty()) continue;
            listedDrawings_.insert(upper(drawing));
            if (!drawings_.contains(upper(drawing)))
                add(u"missing-file"_s, serial, u"参考図ファイル名"_s,
                    u"DRA に "_s + drawing + u" がありません。"_s);
        }
    }

    void pictureFile(int serial, const QString& name, const QString& date) {
        if (name.isEmpty()) return;
        if (!ValueRules::isPhotoFileName(name, ValueRules::allowsImageFormatsOf2023(standard_)))
            add(u"filename"_s, serial, u"写真ファイル名"_s,
                u"写真ファイル名「"_s + name + u"」は P と 7 桁の数字と "_s +
                    (ValueRules::allowsImageFormatsOf2023(standard_) ? u".JPG（.TIF、.SVG）"_s : u".JPG"_s) +
                    u"（大文字）にして下さい。"_s);
        if (listedPictures_.contains(upper(name))) {
            add(u"filename"_s, serial, u"写真ファイル名"_s,
                u"写真ファイル名 "_s + name + u" が重複しています。"_s);
            return;
        }
        listedPictures_.insert(upper(name));
        const auto file = pictures_.constFind(upper(name));
        if (file == pictures_.cend()) {
            add(u"missing-file"_s, serial, u"写真ファイル名"_s,
                fromAlbum_ ? u"写真ファイルが見つかりません。"_s
                           : u"PIC に "_s + name + u" がありません。"_s);
            return;
        }
        if (!name.endsWith(u".JPG"_s, Qt::CaseInsensitive) || !files_.header) return;
        const PhotoHeader header = files_.header(*file);
        if (!header.jpeg) {
            add(u"format"_s, serial, u"写真ファイル名"_s,
                fromAlbum_
                    ? u"写真が JPEG ではありません。撮影したままの JPEG にして下さい（変換はしません）。"_s
                    : *file + u" は JPEG ではありません。"_s);
            return;
        }
        const qint64 pixels = qint64(header.size.width()) * header.size.height();
        if (pixels < 1000000 || pixels > 3200000)
            add(u"pixels"_s, serial, u"写真ファイル名"_s,
                QString::number(header.size.width()) + u"×"_s + QString::number(header.size.height()) +
                    u" 画素です（有効画素数は 100 万～300 万画素程度を推奨）。"_s,
                Finding::Severity::Note);
        const QString taken = header.taken.isValid() ? header.taken.toString(u"yyyy-MM-dd"_s) : QString();
        if (!taken.isEmpty() && ValueRules::isIsoDate(date) && taken != date)
            add(u"exif-date"_s, serial, u"撮影年月日"_s,
                u"撮影年月日 "_s + date + u" と Exif の撮影日 "_s + taken + u" が違います。"_s,
                Finding::Severity::Note);
    }

    void doctype(const pugi::xml_document& document) {
        QString system;
        for (const pugi::xml_node& node : document.children())
            if (node.type() == pugi::node_doctype) {
                static const QRegularExpression literal(u"SYSTEM\\s+[\"']([^\"']*)[\"']"_s);
                system = literal.match(QString::fromUtf8(node.value())).captured(1);
            }
        const QString expected = dtdName(version_);
        if (system.isEmpty()) {
            add(u"structure"_s, 0, u"photodata"_s,
                u"DOCTYPE で "_s + expected + u" が指定されていません。"_s);
            return;
        }
        if (upper(system) != expected)
            add(u"structure"_s, 0, u"photodata"_s,
                u"DTD_version は "_s + versionCode(version_) + u" ですが、DOCTYPE は "_s + system +
                    u" を指定しています。"_s);
        bool present = false;
        for (const QString& name : files_.topLevel)
            present = present || upper(name) == upper(system);
        if (!present)
            add(u"structure"_s, 0, u"photodata"_s, u"PHOTO フォルダに "_s + system + u" がありません。"_s);
        dtd_ = upper(system);
    }

    void extraFiles() {
        for (const QString& name : files_.pictures)
            if (!listedPictures_.contains(upper(name)))
                add(u"extra-file"_s, 0, {}, u"PIC の "_s + name + u" は PHOTO.XML にありません。"_s);
        for (const QString& name : files_.drawings)
            if (!listedDrawings_.contains(upper(name)))
                add(u"extra-file"_s, 0, {}, u"DRA の "_s + name + u" は PHOTO.XML にありません。"_s);
        for (const QString& name : files_.topLevel) {
            const QString key = upper(name);
            if (key == u"PHOTO.XML"_s || key == dtd_ || key.endsWith(u".XSL"_s)) continue;
            add(u"extra-file"_s, 0, {}, u"PHOTO フォルダの "_s + name + u" は電子納品に含められません。"_s);
        }
    }

    void prepareFiles() {
        for (const QString& name : files_.pictures)
            pictures_.insert(upper(name), name);
        for (const QString& name : files_.drawings)
            drawings_.insert(upper(name));
    }

private:
    Version version_;
    const QList<Element>& table_;
    const IndexFiles& files_;
    bool fromAlbum_;
    QString standard_;
    QString dtd_;
    QHash<QString, QString> pictures_; // upper-case name -> name on disk
    QSet<QString> drawings_;
    QSet<QString> serials_;
    QSet<QString> listedPictures_;
    QSet<QString> listedDrawings_;
};

Version versionOf(const pugi::xml_node& root) {
    const QString code = QString::fromUtf8(root.attribute("DTD_version").value());
    if (code == u"05"_s) return Version::V05;
    if (code == u"03"_s) return Version::V03;
    throw AppError(u"PHOTO.XML の DTD_version が「"_s + code +
                   u"」のため検査できません（03 か 05 を検査します）。"_s);
}

} // namespace

QList<Finding> check(const QString& xml, const IndexFiles& files, bool fromAlbum, Version* version) {
    pugi::xml_document document;
    const QByteArray utf8 = xml.toUtf8();
    const pugi::xml_parse_result parsed =
        document.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default | pugi::parse_doctype,
                             pugi::encoding_utf8);
    if (!parsed) {
        const int line = int(QByteArrayView(utf8).first(qsizetype(parsed.offset)).count('\n')) + 1;
        return {Findings::make(Finding::Severity::Error, u"structure"_s, 0, {},
                               u"XML として読めません（"_s + QString::number(line) + u" 行目: "_s +
                                   QString::fromUtf8(parsed.description()) + u"）。"_s)};
    }
    const pugi::xml_node root = document.document_element();
    if (nameOf(root) != u"photodata"_s)
        return {Findings::make(Finding::Severity::Error, u"structure"_s, 0, nameOf(root),
                               u"最上位の要素が photodata ではありません。"_s)};
    const Version found = versionOf(root);
    if (version) *version = found;
    Checker checker(found, files, fromAlbum);
    checker.prepareFiles();
    checker.doctype(document);
    checker.structure(root, 0, 0);
    checker.leafRules(root, 0);
    checker.basics(root);
    for (const pugi::xml_node& block : root.children("写真情報"))
        checker.photo(block);
    checker.extraFiles();
    return checker.findings;
}

} // namespace IndexCheck
