#include "delivery/index_check.h"

#include "base/app_error.h"
#include "delivery/index_checker.h"
#include "delivery/value_rules.h"

using namespace Qt::StringLiterals;
using namespace PhotoStandard;
using namespace IndexCheck::Detail;

namespace IndexCheck {

namespace {

// An index of the standard is four levels deep; past this the file is no photo index, and
// the rules, which follow the elements down, are not run on it.
constexpr int DeepestNesting = 32;

Finding structureFinding(const QString& element, const QString& message) {
    return Findings::make(Finding::Severity::Error, u"structure"_s, 0, element, message);
}

QString parseProblem(pugi::xml_parse_status status) {
    switch (status) {
    case pugi::status_unrecognized_tag:
        return u"「<」の後ろがタグになっていません"_s;
    case pugi::status_bad_pi:
        return u"処理命令（<? … ?>）が正しくありません"_s;
    case pugi::status_bad_comment:
        return u"コメント（<!-- … -->）が正しくありません"_s;
    case pugi::status_bad_cdata:
        return u"CDATA セクションが正しくありません"_s;
    case pugi::status_bad_doctype:
        return u"DOCTYPE が正しくありません"_s;
    case pugi::status_bad_pcdata:
        return u"文字データが正しくありません"_s;
    case pugi::status_bad_start_element:
        return u"開始タグが正しくありません"_s;
    case pugi::status_bad_attribute:
        return u"属性が正しくありません"_s;
    case pugi::status_bad_end_element:
        return u"終了タグが正しくありません"_s;
    case pugi::status_end_element_mismatch:
        return u"開始タグと終了タグが対応していません"_s;
    case pugi::status_no_document_element:
        return u"要素がありません"_s;
    default:
        return u"読み込めません"_s;
    }
}

// One finding for each line holding characters XML cannot hold; the text without them, so
// that the rest is checked as a reader that skips them would see it.
QList<Finding> withoutIllegalCharacters(QString& xml) {
    QList<Finding> findings;
    if (ValueRules::xmlIllegal(xml).isEmpty()) return findings;
    QStringList lines = xml.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList illegal = ValueRules::xmlIllegal(lines.at(i));
        if (illegal.isEmpty()) continue;
        findings << structureFinding(
            {}, QString::number(i + 1) + u" 行目に XML で使えない文字があります: "_s + illegal.join(u"、"_s));
        lines[i] = ValueRules::withoutXmlIllegal(lines.at(i));
    }
    xml = lines.join(u'\n');
    return findings;
}

// How many levels below top the document goes, walked without recursion.
int nesting(const pugi::xml_node& top) {
    int depth = 0;
    int deepest = 0;
    pugi::xml_node node = top;
    for (;;) {
        if (node.first_child()) {
            node = node.first_child();
            deepest = std::max(deepest, ++depth);
            continue;
        }
        while (node != top && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node == top) return deepest;
        node = node.next_sibling();
    }
}

Version versionOf(const pugi::xml_node& root) {
    const QString code = QString::fromUtf8(root.attribute("DTD_version").value());
    if (code == u"05"_s) return Version::V05;
    if (code == u"03"_s) return Version::V03;
    throw AppError(u"PHOTO.XML の DTD_version が「"_s + code +
                   u"」のため検査できません（03 か 05 を検査します）。"_s);
}

} // namespace

QList<Finding> check(const QString& text, const IndexFiles& files, bool fromAlbum, Version* version) {
    QString xml = text;
    QList<Finding> findings = withoutIllegalCharacters(xml);
    pugi::xml_document document;
    const QByteArray utf8 = xml.toUtf8();
    // References are replaced by the check itself, which tells apart those no reader agrees on.
    const unsigned options = (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_doctype;
    const pugi::xml_parse_result parsed =
        document.load_buffer(utf8.constData(), size_t(utf8.size()), options, pugi::encoding_utf8);
    if (!parsed) {
        const int line = int(QByteArrayView(utf8).first(qsizetype(parsed.offset)).count('\n')) + 1;
        return findings << structureFinding({}, u"XML として読めません（"_s + QString::number(line) +
                                                    u" 行目: "_s + parseProblem(parsed.status) + u"）。"_s);
    }
    const pugi::xml_node root = document.document_element();
    if (const int depth = nesting(root); depth > DeepestNesting)
        return findings << structureFinding(nameOf(root), u"要素の入れ子が深すぎるため検査できません（"_s +
                                                              QString::number(depth) +
                                                              u" 段。写真管理ファイルは 4 段です）。"_s);
    if (nameOf(root) != u"photodata"_s)
        return findings << structureFinding(nameOf(root), u"最上位の要素が photodata ではありません。"_s);
    const Version found = versionOf(root);
    if (version) *version = found;
    Checker checker(found, files, fromAlbum);
    checker.findings = findings;
    checker.prepareFiles();
    checker.doctype(document);
    checker.structure(root);
    checker.basics(root);
    for (const pugi::xml_node& block : root.children("写真情報"))
        checker.photo(block);
    checker.otherLeaves(root);
    checker.extraFiles();
    return checker.findings;
}

} // namespace IndexCheck

namespace IndexCheck::Detail {

Checker::Checker(Version version, const IndexFiles& files, bool fromAlbum)
    : version_(version), table_(elements(version)), files_(files), fromAlbum_(fromAlbum) {}

void Checker::add(const QString& code, int serial, const QString& element, const QString& message,
                  Finding::Severity severity) {
    findings << Findings::make(severity, code, serial, element, message);
}

} // namespace IndexCheck::Detail
