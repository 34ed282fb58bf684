#include "delivery/photo_xml.h"

using namespace Qt::StringLiterals;

namespace PhotoXml {

namespace {

const QString CrLf = u"\r\n"_s;

QString element(const QString& name, const QString& value) {
    return u'<' + name + u'>' + value + u"</"_s + name + u'>' + CrLf;
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

QString header() {
    const QChar quote = u'"';
    return u"<?xml version="_s + quote + u"1.0"_s + quote + u" encoding="_s + quote + u"Shift_JIS"_s + quote +
           u" ?>"_s + CrLf + u"<!DOCTYPE photodata SYSTEM "_s + quote + u"PHOTO03.DTD"_s + quote + u'>' +
           CrLf + u"<photodata DTD_version="_s + quote + u"03"_s + quote + u'>' + CrLf + u"<基礎情報>"_s +
           CrLf + element(u"写真フォルダ名"_s, u"PHOTO/PIC"_s) +
           element(u"参考図フォルダ名"_s, u"PHOTO/DRA"_s) + element(u"適用要領基準"_s, u"土木200406-01"_s) +
           u"</基礎情報>"_s + CrLf;
}

QString photoBlock(int serial, const FieldBuffer& info) {
    const auto line = [&](int n) { return escaped(info(n)); };
    return u"<写真情報>"_s + CrLf + u"<写真ファイル情報>"_s + CrLf +
           element(u"シリアル番号"_s, QString::number(serial)) +
           element(u"写真ファイル名"_s, serialFileName(serial)) + element(u"写真ファイル日本語名"_s, {}) +
           element(u"メディア番号"_s, u"1"_s) + u"</写真ファイル情報>"_s + CrLf + u"<撮影工種区分>"_s + CrLf +
           element(u"写真-大分類"_s, line(12)) + element(u"写真区分"_s, line(14)) +
           element(u"工種"_s, line(15)) + element(u"種別"_s, line(16)) + element(u"細別"_s, line(17)) +
           element(u"写真タイトル"_s, line(10)) + element(u"工種区分予備"_s, {}) + u"</撮影工種区分>"_s +
           CrLf + u"<撮影情報>"_s + CrLf + element(u"撮影箇所"_s, line(18)) +
           element(u"撮影年月日"_s, line(13)) + u"</撮影情報>"_s + CrLf + element(u"施工管理値"_s, line(19)) +
           element(u"請負者説明文"_s, line(11)) + u"</写真情報>"_s + CrLf;
}

QString footer() {
    return u"</photodata>"_s + CrLf;
}

} // namespace PhotoXml
