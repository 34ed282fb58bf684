#include "delivery/folder_check.h"

#include "app/app_error.h"
#include "app/file_io.h"
#include "delivery/index_check.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace FolderCheck {

namespace {

// A name in the folder, whatever its case: discs written on Windows keep any case.
QString entry(const QDir& folder, const QString& name, QDir::Filters filters) {
    for (const QString& candidate : folder.entryList(filters | QDir::Hidden | QDir::System))
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) return candidate;
    return {};
}

QString photoFolderOf(const QString& folder) {
    const QDir given(folder);
    if (!given.exists()) throw AppError(fileFailure(u"フォルダがありません。"_s, folder, {}).trimmed());
    if (!entry(given, u"PHOTO.XML"_s, QDir::Files).isEmpty()) return given.absolutePath();
    const QString inner = entry(given, u"PHOTO"_s, QDir::Dirs | QDir::NoDotAndDotDot);
    if (!inner.isEmpty() && !entry(QDir(given.filePath(inner)), u"PHOTO.XML"_s, QDir::Files).isEmpty())
        return given.filePath(inner);
    throw AppError(fileFailure(u"PHOTO.XML が見つかりません。"_s, folder, {}).trimmed());
}

QStringList filesIn(const QDir& folder, const QString& name) {
    const QString sub = entry(folder, name, QDir::Dirs | QDir::NoDotAndDotDot);
    if (sub.isEmpty()) return {};
    return QDir(folder.filePath(sub))
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

QList<Finding> encodingFindings(const QByteArray& bytes, QString& text) {
    QList<Finding> findings;
    static const QRegularExpression declaration(u"^<\\?xml[^>]*encoding\\s*=\\s*[\"']([^\"']*)[\"']"_s);
    const QString head = QString::fromLatin1(bytes.left(200));
    const QString declared = declaration.match(head).captured(1);
    if (declared.compare(u"Shift_JIS"_s, Qt::CaseInsensitive) != 0)
        findings << Findings::make(Finding::Severity::Error, u"encoding"_s, 0, {},
                                   declared.isEmpty() ? u"XML 宣言に encoding=\"Shift_JIS\" がありません。"_s
                                                      : u"XML 宣言の文字コードが "_s + declared +
                                                            u" です（Shift_JIS にして下さい）。"_s);
    const Finding notShiftJis =
        Findings::make(Finding::Severity::Error, u"encoding"_s, 0, {},
                       u"PHOTO.XML の中身が UTF-8 で書かれています（Shift_JIS にして下さい）。"_s);
    // A file that says it is UTF-8 is read as such, so that its other findings make sense.
    if (bytes.startsWith("\xEF\xBB\xBF") || declared.startsWith(u"utf"_s, Qt::CaseInsensitive)) {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            findings << notShiftJis;
            return findings;
        }
    }
    QStringDecoder cp932("windows-31j", QStringConverter::Flag::Stateless);
    text = cp932.decode(bytes);
    if (!cp932.hasError()) return findings;
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    if (!utf8.hasError()) {
        text = asUtf8;
        findings << notShiftJis;
    } else {
        findings << Findings::make(Finding::Severity::Error, u"encoding"_s, 0, {},
                                   u"PHOTO.XML に Shift_JIS として読めないバイトがあります。"_s);
    }
    return findings;
}

Result check(const QString& folder) {
    Result result;
    result.photoFolder = photoFolderOf(folder);
    const QDir photo(result.photoFolder);
    const QString indexPath = photo.filePath(entry(photo, u"PHOTO.XML"_s, QDir::Files));
    const QByteArray bytes = readWholeFile(indexPath, u"PHOTO.XML を読み込めませんでした。"_s);
    QString text;
    result.findings = encodingFindings(bytes, text);

    IndexFiles files;
    files.pictures = filesIn(photo, u"PIC"_s);
    files.drawings = filesIn(photo, u"DRA"_s);
    for (const QString& name :
         photo.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name))
        if (name.compare(u"PIC"_s, Qt::CaseInsensitive) != 0 &&
            name.compare(u"DRA"_s, Qt::CaseInsensitive) != 0)
            files.topLevel << name;
    const QString pic = photo.filePath(entry(photo, u"PIC"_s, QDir::Dirs | QDir::NoDotAndDotDot));
    files.header = [pic](const QString& name) { return PhotoHeaders::read(pic + u'/' + name); };
    result.findings += IndexCheck::check(text, files, false, &result.version);
    return result;
}

} // namespace FolderCheck
