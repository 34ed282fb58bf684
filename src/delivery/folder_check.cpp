#include "delivery/folder_check.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "delivery/index_check.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace FolderCheck {

namespace {

// The names of a folder as Windows sees them: names that differ only in letter case are one,
// and the upper-case spelling, the one the standard asks for, is the one read.
struct Listing {
    QStringList names;
    QList<QStringList> twins; // names Windows would take for one another
};

Listing listing(const QDir& folder, QDir::Filters filters) {
    QMap<QString, QStringList> byUpper;
    for (const QString& name :
         folder.entryList(filters | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name))
        byUpper[name.toUpper()] << name;
    Listing result;
    for (auto group = byUpper.cbegin(); group != byUpper.cend(); ++group) {
        result.names << (group->contains(group.key()) ? group.key() : group->first());
        if (group->size() > 1) result.twins << *group;
    }
    return result;
}

QString entry(const Listing& listing, const QString& name) {
    for (const QString& candidate : listing.names)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) return candidate;
    return {};
}

Finding nameFinding(const QString& message) {
    return Findings::make(Finding::Severity::Error, u"name"_s, 0, {}, message);
}

void addTwins(const Listing& listing, const QString& where, QList<Finding>& findings) {
    for (const QStringList& twins : listing.twins)
        findings << nameFinding(
            where + u"に "_s + twins.join(u" と "_s) +
            u" があります。大文字と小文字だけが違う名前は Windows では同じ名前になるため、"_s
            u"一つにして下さい。"_s);
}

// A name the standard fixes, found under another letter case.
void addCase(const QString& found, const QString& wanted, const QString& what, QList<Finding>& findings) {
    if (!found.isEmpty() && found != wanted)
        findings << nameFinding(what + u" "_s + found + u" は "_s + wanted +
                                u"（半角英大文字）にして下さい。"_s);
}

struct Located {
    QString path;
    QList<Finding> findings;
};

Located photoFolderOf(const QString& folder) {
    const QDir given(folder);
    if (!given.exists()) throw AppError(fileFailure(u"フォルダがありません。"_s, folder, {}).trimmed());
    Located located;
    if (!entry(listing(given, QDir::Files), u"PHOTO.XML"_s).isEmpty()) {
        // A folder of another name is a copy the user made: only PHOTO in the wrong case is wrong.
        const QString name = QFileInfo(given.absolutePath()).fileName();
        if (name.compare(u"PHOTO"_s, Qt::CaseInsensitive) == 0)
            addCase(name, u"PHOTO"_s, u"フォルダ"_s, located.findings);
        located.path = given.absolutePath();
        return located;
    }
    const Listing folders = listing(given, QDir::Dirs);
    const QString inner = entry(folders, u"PHOTO"_s);
    if (!inner.isEmpty() &&
        !entry(listing(QDir(given.filePath(inner)), QDir::Files), u"PHOTO.XML"_s).isEmpty()) {
        addCase(inner, u"PHOTO"_s, u"フォルダ"_s, located.findings);
        located.path = given.filePath(inner);
        return located;
    }
    throw AppError(fileFailure(u"PHOTO.XML が見つかりません。"_s, folder, {}).trimmed());
}

// The names in PIC or DRA, with the folder's own name and twins checked.
QStringList filesIn(const QDir& photo, const Listing& folders, const QString& name,
                    QList<Finding>& findings) {
    const QString sub = entry(folders, name);
    if (sub.isEmpty()) return {};
    addCase(sub, name, u"フォルダ"_s, findings);
    const Listing files = listing(QDir(photo.filePath(sub)), QDir::AllEntries);
    addTwins(files, name, findings);
    return files.names;
}

} // namespace

QList<Finding> encodingFindings(const QByteArray& bytes, QString& text) {
    static const QRegularExpression declaration(u"^<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']*)[\"']"_s);
    const QString head = QString::fromLatin1(bytes.left(200));
    const QString declared = declaration.match(head).captured(1);
    const auto finding = [](const QString& message) {
        return QList<Finding>{Findings::make(Finding::Severity::Error, u"encoding"_s, 0, {}, message)};
    };
    // One finding: a UTF-8 file whose declaration says so has one fault, not two.
    const QList<Finding> wrongDeclaration =
        declared.compare(u"Shift_JIS"_s, Qt::CaseInsensitive) == 0 ? QList<Finding>()
        : declared.isEmpty()
            ? finding(u"XML 宣言に encoding=\"Shift_JIS\" がありません。"_s)
            : finding(u"XML 宣言の文字コードが "_s + declared + u" です（Shift_JIS にして下さい）。"_s);
    const QList<Finding> utf8Content =
        finding(u"PHOTO.XML が UTF-8 で書かれています（Shift_JIS にして下さい）。"_s);
    // A file that says it is UTF-8 is read as such, so that its other findings make sense.
    if (bytes.startsWith("\xEF\xBB\xBF") || declared.startsWith(u"utf"_s, Qt::CaseInsensitive)) {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8.decode(bytes);
        if (!utf8.hasError()) return utf8Content;
    }
    QStringDecoder cp932("windows-31j", QStringConverter::Flag::Stateless);
    text = cp932.decode(bytes);
    if (!cp932.hasError()) return wrongDeclaration;
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError()) {
        text = asUtf8;
        return utf8Content;
    }
    return wrongDeclaration.isEmpty() ? finding(u"PHOTO.XML に Shift_JIS として読めないバイトがあります。"_s)
                                      : wrongDeclaration;
}

Result check(const QString& folder) {
    Result result;
    const Located located = photoFolderOf(folder);
    result.photoFolder = located.path;
    const QDir photo(result.photoFolder);
    const Listing topFiles = listing(photo, QDir::Files);
    const Listing topFolders = listing(photo, QDir::Dirs);
    const QString indexName = entry(topFiles, u"PHOTO.XML"_s);
    const QByteArray bytes =
        readWholeFile(photo.filePath(indexName), u"PHOTO.XML を読み込めませんでした。"_s);
    QString text;
    result.findings = encodingFindings(bytes, text) + located.findings;
    addTwins(topFiles, u"PHOTO フォルダ"_s, result.findings);
    addTwins(topFolders, u"PHOTO フォルダ"_s, result.findings);
    addCase(indexName, u"PHOTO.XML"_s, u"ファイル"_s, result.findings);

    IndexFiles files;
    files.pictures = filesIn(photo, topFolders, u"PIC"_s, result.findings);
    files.drawings = filesIn(photo, topFolders, u"DRA"_s, result.findings);
    for (const QString& name : topFiles.names + topFolders.names)
        if (name.compare(u"PIC"_s, Qt::CaseInsensitive) != 0 &&
            name.compare(u"DRA"_s, Qt::CaseInsensitive) != 0)
            files.topLevel << name;
    const QString pic = photo.filePath(entry(topFolders, u"PIC"_s));
    const QString dra = photo.filePath(entry(topFolders, u"DRA"_s));
    files.header = [pic](const QString& name) { return PhotoHeaders::read(pic + u'/' + name); };
    files.drawingHeader = [dra](const QString& name) { return PhotoHeaders::read(dra + u'/' + name); };
    result.findings += IndexCheck::check(text, files, false, &result.version);
    return result;
}

} // namespace FolderCheck
