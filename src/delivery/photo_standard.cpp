#include "delivery/photo_standard.h"

using namespace Qt::StringLiterals;

namespace PhotoStandard {

namespace {

// Text items: 127 full-width characters, half-width ones counting half.
constexpr int Text = 254;

QList<Element> table(Version version) {
    const bool v05 = version == Version::V05;
    QList<Element> list = {
        {u"photodata"_s, 0, Occurs::One, true, 0, true},
        {u"基礎情報"_s, 1, Occurs::One, true, 0, true},
        {u"写真フォルダ名"_s, 2, Occurs::One, false, 9, true},
        {u"参考図フォルダ名"_s, 2, Occurs::Optional, false, 9, true},
        {u"適用要領基準"_s, 2, Occurs::One, false, 30, true},
        {u"写真情報"_s, 1, Occurs::OneOrMore, true, 0, true},
        {u"写真ファイル情報"_s, 2, Occurs::One, true, 0, true},
        {u"シリアル番号"_s, 3, Occurs::One, false, 7, true},
        {u"写真ファイル名"_s, 3, Occurs::One, false, 12, true},
        {u"写真ファイル日本語名"_s, 3, Occurs::Optional, false, Text, true},
        {u"メディア番号"_s, 3, Occurs::One, false, 8, true},
        {u"撮影工種区分"_s, 2, Occurs::One, true, 0, true},
        {u"写真-大分類"_s, 3, Occurs::One, false, Text, true},
        {u"写真区分"_s, 3, Occurs::Optional, false, Text, true},
        {u"工種"_s, 3, Occurs::Optional, false, Text, true},
        {u"種別"_s, 3, Occurs::Optional, false, Text, true},
        {u"細別"_s, 3, Occurs::Optional, false, Text, true},
        {u"写真タイトル"_s, 3, Occurs::One, false, Text, true},
        {u"工種区分予備"_s, 3, Occurs::Many, false, Text, true},
        {u"付加情報"_s, 2, Occurs::Many, true, 0, false},
        {u"参考図ファイル名"_s, 3, Occurs::One, false, 12, false},
        {u"参考図ファイル日本語名"_s, 3, Occurs::Optional, false, Text, false},
        {u"参考図タイトル"_s, 3, Occurs::One, false, Text, false},
        {u"付加情報予備"_s, 3, Occurs::Many, false, Text, false},
        {u"撮影情報"_s, 2, Occurs::One, true, 0, true},
        {u"撮影箇所"_s, 3, Occurs::Optional, false, Text, true},
        {u"撮影年月日"_s, 3, v05 ? Occurs::One : Occurs::Optional, false, 10, true},
    };
    if (v05)
        list += {{u"代表写真"_s, 2, Occurs::One, false, 1, true},
                 {u"提出頻度写真"_s, 2, Occurs::One, false, 1, true}};
    list += {
        {u"施工管理値"_s, 2, Occurs::Optional, false, Text, true},
        {u"請負者説明文"_s, 2, Occurs::Optional, false, Text, true},
        {u"ソフトメーカ用TAG"_s, 1, Occurs::Many, false, Text, false},
    };
    return list;
}

QString suffix(Occurs occurs) {
    switch (occurs) {
    case Occurs::One:
        return {};
    case Occurs::Optional:
        return u"?"_s;
    case Occurs::Many:
        return u"*"_s;
    case Occurs::OneOrMore:
        return u"+"_s;
    }
    return {};
}

} // namespace

const QList<Element>& elements(Version version) {
    static const QList<Element> v03 = table(Version::V03);
    static const QList<Element> v05 = table(Version::V05);
    return version == Version::V05 ? v05 : v03;
}

int find(Version version, const QString& name) {
    const QList<Element>& list = elements(version);
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).name == name) return i;
    return -1;
}

QList<int> children(Version version, int parent) {
    const QList<Element>& list = elements(version);
    QList<int> result;
    const int depth = list.at(parent).depth;
    for (int i = parent + 1; i < list.size() && list.at(i).depth > depth; ++i)
        if (list.at(i).depth == depth + 1) result << i;
    return result;
}

QString versionCode(Version version) {
    return version == Version::V05 ? u"05"_s : u"03"_s;
}

QString dtdName(Version version) {
    return u"PHOTO"_s + versionCode(version) + u".DTD"_s;
}

QString defaultStandard(Version version) {
    return standards(version).first();
}

QStringList standards05() {
    return {u"土木202303-01"_s, u"土木202003-01"_s, u"土木201603-01"_s};
}

QStringList standards(Version version) {
    return version == Version::V05 ? standards05() : QStringList{u"土木200406-01"_s};
}

QString dtdText(Version version) {
    const QString crlf = u"\r\n"_s;
    const QList<Element>& list = elements(version);
    QString text = u"<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"_s + crlf + u"<!-- "_s +
                   dtdName(version) + u" -->"_s + crlf;
    for (int i = 0; i < list.size(); ++i) {
        const Element& element = list.at(i);
        if (!element.container) {
            text += u"<!ELEMENT "_s + element.name + u" (#PCDATA)>"_s + crlf;
            continue;
        }
        QStringList model;
        for (int child : children(version, i))
            model << list.at(child).name + suffix(list.at(child).occurs);
        text += u"<!ELEMENT "_s + element.name + u" ("_s + model.join(u',') + u")>"_s + crlf;
        if (element.depth == 0)
            text +=
                u"<!ATTLIST photodata DTD_version CDATA #FIXED \""_s + versionCode(version) + u"\">"_s + crlf;
    }
    return text;
}

} // namespace PhotoStandard
