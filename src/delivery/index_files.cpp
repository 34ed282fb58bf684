#include "delivery/index_checker.h"
#include "delivery/value_rules.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;
using namespace PhotoStandard;

namespace IndexCheck::Detail {

namespace {

QString upper(const QString& name) {
    return name.toUpper();
}

// The name on disk for a listed name: the same spelling first, else the same letters in
// another case, as Windows would open it.
QString onDisk(const QString& listed, const QSet<QString>& names, const QHash<QString, QString>& byUpper) {
    return names.contains(listed) ? listed : byUpper.value(upper(listed));
}

QString withDots(const QStringList& extensions) {
    QStringList dotted;
    for (const QString& extension : extensions)
        dotted << u'.' + extension;
    return dotted.join(u"、"_s);
}

} // namespace

void Checker::prepareFiles() {
    for (const QString& name : files_.pictures) {
        pictureNames_.insert(name);
        pictures_.insert(upper(name), name);
    }
    for (const QString& name : files_.drawings) {
        drawingNames_.insert(name);
        drawings_.insert(upper(name), name);
    }
}

void Checker::doctype(const pugi::xml_document& document) {
    QString declaration;
    for (const pugi::xml_node& node : document.children())
        if (node.type() == pugi::node_doctype) declaration = QString::fromUtf8(node.value());
    static const QRegularExpression literal(u"SYSTEM\\s+[\"']([^\"']*)[\"']"_s);
    const QString system = literal.match(declaration).captured(1);
    const QString expected = dtdName(version_);
    if (declaration.contains(u'['))
        add(u"structure"_s, 0, u"photodata"_s,
            u"DOCTYPE の中に宣言（内部サブセット）は書けません。要素と実体は "_s + expected +
                u" のものだけを使います。"_s);
    if (system.isEmpty()) {
        add(u"structure"_s, 0, u"photodata"_s, u"DOCTYPE で "_s + expected + u" が指定されていません。"_s);
        return;
    }
    if (system != expected)
        add(u"structure"_s, 0, u"photodata"_s,
            u"DTD_version は "_s + versionCode(version_) + u" ですが、DOCTYPE は "_s + system +
                u" を指定しています（"_s + expected + u" にして下さい）。"_s);
    QString present;
    for (const QString& name : files_.topLevel)
        if (upper(name) == upper(system)) present = name;
    if (present.isEmpty())
        add(u"structure"_s, 0, u"photodata"_s, u"PHOTO フォルダに "_s + system + u" がありません。"_s);
    else if (present != system && system == expected)
        letterCase(0, {}, u"PHOTO フォルダ"_s, system, present);
    dtd_ = upper(system);
}

void Checker::extraFiles() {
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

// The name's form and its agreement with シリアル番号; false when the form is wrong.
bool Checker::pictureName(int serial, const QString& name, const QString& serialText) {
    const QStringList extensions = ValueRules::photoExtensions(standard_);
    if (!ValueRules::isPhotoFileName(name, extensions)) {
        QString message = u"写真ファイル名「"_s + name + u"」は P と 7 桁の数字と拡張子（"_s +
                          withDots(extensions) + u"）の、半角大文字の名前にして下さい。"_s;
        if (ValueRules::isPhotoFileName(name, {u"TIF"_s, u"SVG"_s}))
            message = u"写真ファイル名 "_s + name + u" の形式は、適用要領基準「"_s + standard_ +
                      u"」では使えません（使えるのは "_s + withDots(extensions) + u"）。"_s;
        add(u"filename"_s, serial, u"写真ファイル名"_s, message);
        judged_ << u"写真ファイル名"_s;
        return false;
    }
    if (!ValueRules::isDigits(serialText) || judged_.contains(u"シリアル番号"_s)) return true;
    if (name.mid(1, 7).toLongLong() != serialText.toLongLong()) {
        const QString expected = u"P"_s + serialText.rightJustified(7, u'0') + name.mid(8);
        add(u"filename"_s, serial, u"写真ファイル名"_s,
            u"写真ファイル名 "_s + name + u" がシリアル番号 "_s + serialText + u" と合いません（"_s +
                expected + u" にして下さい）。"_s);
        judged_ << u"写真ファイル名"_s;
    }
    return true;
}

void Checker::pictureFile(int serial, const QHash<QString, QString>& values) {
    const QString name = values.value(u"写真ファイル名"_s);
    if (name.isEmpty()) return;
    const bool wellNamed = pictureName(serial, name, values.value(u"シリアル番号"_s));
    if (listedPictures_.contains(upper(name))) {
        add(u"filename"_s, serial, u"写真ファイル名"_s,
            u"写真ファイル名 "_s + name + u" が重複しています。"_s);
        return;
    }
    listedPictures_.insert(upper(name));
    const QString file = onDisk(name, pictureNames_, pictures_);
    if (file.isEmpty()) {
        add(u"missing-file"_s, serial, u"写真ファイル名"_s,
            fromAlbum_ ? u"写真ファイルが見つかりません。"_s : u"PIC に "_s + name + u" がありません。"_s);
        return;
    }
    if (wellNamed) letterCase(serial, u"写真ファイル名"_s, u"PIC"_s, name, file);
    if (!files_.header) return;
    const PhotoHeader header = files_.header(file);
    content(serial, u"写真ファイル名"_s, u"PIC"_s, name, file, header);
    if (!header.jpeg || !header.complete || PhotoHeaders::formatOfName(name) != PhotoHeader::Format::Jpeg)
        return;
    const qint64 pixels = qint64(header.size.width()) * header.size.height();
    if (pixels < 1000000 || pixels > 3200000)
        add(u"pixels"_s, serial, u"写真ファイル名"_s,
            QString::number(header.size.width()) + u"×"_s + QString::number(header.size.height()) +
                u" 画素です（有効画素数は 100 万～300 万画素程度を推奨）。"_s,
            Finding::Severity::Note);
    const QString date = values.value(u"撮影年月日"_s);
    const QString taken = header.taken.isValid() ? header.taken.toString(u"yyyy-MM-dd"_s) : QString();
    if (!taken.isEmpty() && ValueRules::isIsoDate(date) && taken != date)
        add(u"exif-date"_s, serial, u"撮影年月日"_s,
            u"撮影年月日 "_s + date + u" と Exif の撮影日 "_s + taken + u" が違います。"_s,
            Finding::Severity::Note);
}

void Checker::drawings(const pugi::xml_node& block, int serial) {
    for (pugi::xml_node added = block.child("付加情報"); added; added = added.next_sibling("付加情報")) {
        const QHash<QString, QString> values = leavesOf(added);
        required(serial, u"参考図ファイル名"_s, values);
        required(serial, u"参考図タイトル"_s, values);
        const QString name = values.value(u"参考図ファイル名"_s);
        if (name.isEmpty()) continue;
        const bool wellNamed = ValueRules::isDrawingFileName(name);
        if (!wellNamed) {
            add(u"filename"_s, serial, u"参考図ファイル名"_s,
                u"参考図ファイル名「"_s + name +
                    u"」は D と 7 桁の数字と拡張子の、半角大文字の名前にして下さい（例 D0000001.JPG）。"_s);
            judged_ << u"参考図ファイル名"_s;
        }
        listedDrawings_.insert(upper(name));
        const QString file = onDisk(name, drawingNames_, drawings_);
        if (file.isEmpty()) {
            add(u"missing-file"_s, serial, u"参考図ファイル名"_s, u"DRA に "_s + name + u" がありません。"_s);
            continue;
        }
        if (wellNamed) letterCase(serial, u"参考図ファイル名"_s, u"DRA"_s, name, file);
        if (files_.drawingHeader)
            content(serial, u"参考図ファイル名"_s, u"DRA"_s, name, file, files_.drawingHeader(file));
    }
}

void Checker::content(int serial, const QString& element, const QString& folder, const QString& listed,
                      const QString& file, const PhotoHeader& header) {
    const PhotoHeader::Format promised = PhotoHeaders::formatOfName(listed);
    if (promised == PhotoHeader::Format::Unknown || !header.readable) return;
    const QString found = PhotoHeaders::formatName(header.format);
    const QString wanted = PhotoHeaders::formatName(promised);
    if (header.format != promised) {
        const QString what = found.isEmpty() ? QString(u" は "_s + wanted + u" ではありません"_s)
                                             : QString(u" の中身は "_s + found + u" です"_s);
        const QString extension = listed.section(u'.', -1);
        add(u"format"_s, serial, element,
            fromAlbum_
                ? QString(u"写真が JPEG ではありません（"_s + (found.isEmpty() ? u"形式不明"_s : found) +
                          u"）。撮影したままの JPEG にして下さい（変換はしません）。"_s)
                : QString(folder + u" の "_s + file + what + u"（拡張子は ."_s + extension + u"）。"_s));
        return;
    }
    if (promised == PhotoHeader::Format::Jpeg && !(header.jpeg && header.complete))
        add(u"damaged"_s, serial, element,
            (fromAlbum_ ? u"写真ファイルは"_s : QString(folder + u" の "_s + file + u" は"_s)) +
                u"途中で切れているか壊れています（JPEG のデータが終わりまでありません）。"_s);
}

void Checker::letterCase(int serial, const QString& element, const QString& folder, const QString& listed,
                         const QString& file) {
    if (file == listed) return;
    add(u"name"_s, serial, element,
        folder + u" の "_s + file + u" は "_s + listed +
            u" にして下さい（フォルダ名とファイル名は半角英大文字、PHOTO.XML のとおりに）。"_s);
}

} // namespace IndexCheck::Detail
