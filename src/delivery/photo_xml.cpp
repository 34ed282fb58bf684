#include "delivery/photo_xml.h"

using namespace Qt::StringLiterals;
using namespace PhotoStandard;

namespace PhotoXml {

namespace {

const QString CrLf = u"\r\n"_s;

// The element at `index` and its descendants, as far as the writer puts them out.
QString written(Version version, int index, const Values& values) {
    const Element& element = elements(version).at(index);
    if (!element.written) return {};
    if (!element.container) {
        const QString value = values.value(element.name);
        const QStringList texts =
            element.occurs == Occurs::Many ? value.split(RepeatSeparator) : QStringList{value};
        QString text;
        for (const QString& one : texts)
            text += u'<' + element.name + u'>' + escaped(one) + u"</"_s + element.name + u'>' + CrLf;
        return text;
    }
    QString text = u'<' + element.name + u'>' + CrLf;
    for (int child : children(version, index))
        text += written(version, child, values);
    return text + u"</"_s + element.name + u'>' + CrLf;
}

} // namespace

const QList<Item>& items() {
    static const QList<Item> list = {
        {10, u"写真タイトル"_s}, {11, u"請負者説明文"_s}, {12, u"写真-大分類"_s}, {13, u"撮影年月日"_s},
        {14, u"写真区分"_s},     {15, u"工種"_s},         {16, u"種別"_s},        {17, u"細別"_s},
        {18, u"撮影箇所"_s},     {19, u"施工管理値"_s},
    };
    return list;
}

int lineOf(const QString& element) {
    for (const Item& item : items())
        if (item.element == element) return item.line;
    if (element == u"代表写真"_s) return RepresentativeLine;
    if (element == u"提出頻度写真"_s) return FrequencyLine;
    return 0;
}

QString serialFileName(int serial) {
    return u"P"_s + QString::number(serial).rightJustified(7, u'0') + u".JPG"_s;
}

QString escaped(const QString& value) {
    QString result;
    result.reserve(value.size());
    for (const QChar c : value) {
        if (c == u'&')
            result += u"&amp;"_s;
        else if (c == u'<')
            result += u"&lt;"_s;
        else if (c == u'>')
            result += u"&gt;"_s;
        else
            result += c;
    }
    return result;
}

Values photoValues(int serial, const FieldBuffer& info) {
    Values values;
    for (const Item& item : items())
        values.insert(item.element, info(item.line));
    values.insert(u"シリアル番号"_s, QString::number(serial));
    values.insert(u"写真ファイル名"_s, serialFileName(serial));
    values.insert(u"メディア番号"_s, u"1"_s);
    return values;
}

QString header(Version version, const QString& standard) {
    const QChar quote = u'"';
    const Values values = {{u"写真フォルダ名"_s, u"PHOTO/PIC"_s},
                           {u"参考図フォルダ名"_s, u"PHOTO/DRA"_s},
                           {u"適用要領基準"_s, standard}};
    return u"<?xml version="_s + quote + u"1.0"_s + quote + u" encoding="_s + quote + u"Shift_JIS"_s + quote +
           u" ?>"_s + CrLf + u"<!DOCTYPE photodata SYSTEM "_s + quote + dtdName(version) + quote + u'>' +
           CrLf + u"<photodata DTD_version="_s + quote + versionCode(version) + quote + u'>' + CrLf +
           written(version, find(version, u"基礎情報"_s), values);
}

QString photoBlock(Version version, const Values& values) {
    return written(version, find(version, u"写真情報"_s), values);
}

QString footer() {
    return u"</photodata>"_s + CrLf;
}

} // namespace PhotoXml
