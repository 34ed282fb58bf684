#include "delivery/replace_check.h"

#include "base/app_error.h"
#include "base/output_guard.h"
#include "delivery/folder_check.h"
#include "delivery/photo_standard.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <pugixml.hpp>

using namespace Qt::StringLiterals;

namespace ReplaceCheck {

const QString PhotoIsFile =
    u"出力先のフォルダに PHOTO という名前のファイルがあるため、PHOTO フォルダを作れません。"
    u"このファイルを移すか名前を変えてから、もう一度出力して下さい。"_s;
const QString AlbumsInside =
    u"出力に使うアルバムファイルが、置き換える PHOTO フォルダの中にあります。出力すると削除されるため、"
    u"出力しませんでした。PHOTO フォルダの外へ移してから、もう一度出力して下さい。"_s;
const QString PhotosInside =
    u"次の行の写真は、置き換える PHOTO フォルダの中にあります。出力すると削除されるか別の写真に"
    u"置き換わるため、出力しませんでした。写真を PHOTO フォルダの外へコピーして行の写真を付け直してから、"
    u"もう一度出力して下さい。"_s;
const QString Foreign = u"PHOTO フォルダに、電子納品の出力で作られたものではない次のファイルがあります。"
                        u"出力すると、PHOTO フォルダと一緒に削除されます。"_s;

namespace {

// A message box cannot show hundreds of lines; the rest is counted.
constexpr int ListedLines = 20;

QString listed(const QString& headline, const QStringList& lines, int limit) {
    QString text = headline + u"（"_s + QString::number(lines.size()) + u" 件）"_s;
    for (qsizetype i = 0; i < lines.size() && i < limit; ++i)
        text += u'\n' + lines.at(i);
    if (lines.size() > limit) text += u"\nほか "_s + QString::number(lines.size() - limit) + u" 件"_s;
    return text;
}

// Names an export writes, lower-cased: discs written elsewhere keep any case.
QSet<QString> madeByExport(const QString& target) {
    QFile index(QDir(target).filePath(u"PHOTO.XML"_s));
    if (!index.open(QIODevice::ReadOnly)) return {};
    QString text;
    FolderCheck::encodingFindings(index.readAll(), text);
    const QByteArray utf8 = text.toUtf8();
    pugi::xml_document document;
    if (!document.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default,
                              pugi::encoding_utf8))
        return {};
    QSet<QString> names{u"photo.xml"_s};
    for (const auto version : {PhotoStandard::Version::V03, PhotoStandard::Version::V05})
        names << PhotoStandard::dtdName(version).toLower();
    struct Walker : pugi::xml_tree_walker {
        QSet<QString>& names;
        explicit Walker(QSet<QString>& found) : names(found) {}
        bool for_each(pugi::xml_node& node) override {
            const QString name = QString::fromUtf8(node.name());
            const QString file = QString::fromUtf8(node.text().get());
            if (name == u"写真ファイル名"_s) names << (u"pic/"_s + file).toLower();
            if (name == u"参考図ファイル名"_s) names << (u"dra/"_s + file).toLower();
            return true;
        }
    } walker(names);
    document.traverse(walker);
    return names;
}

} // namespace

void refuseLosses(const QString& target, const QStringList& albums, const QList<DeliveryPhoto>& photos) {
    const QFileInfo entry(target);
    if (!entry.isSymLink() && entry.exists() && !entry.isDir())
        throw AppError(PhotoIsFile + u'\n' + QDir::toNativeSeparators(target));

    QStringList lines;
    for (const OutputGuard::Kept& album : OutputGuard().keepAll(albums, OutputGuard::Album).inside(target))
        lines << album.kind + u"："_s + QDir::toNativeSeparators(album.path);
    if (!lines.isEmpty()) throw AppError(AlbumsInside + u'\n' + lines.join(u'\n'));

    // Each photo is kept under the row it comes from, so that the refusal names the rows.
    OutputGuard rows;
    for (const DeliveryPhoto& photo : photos)
        rows.keep(photo.sourcePath, photo.origin);
    for (const OutputGuard::Kept& photo : rows.inside(target))
        lines << photo.kind + u": "_s + QDir::toNativeSeparators(photo.path);
    if (!lines.isEmpty()) throw AppError(listed(PhotosInside, lines, ListedLines));
}

QStringList foreignFiles(const QString& target) {
    const QFileInfo entry(target);
    if (entry.isSymLink() || !entry.isDir()) return {};
    const QSet<QString> known = madeByExport(target);
    const QDir root(target);
    QStringList foreign;
    QDirIterator it(target, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        if (file.isDir() && !file.isSymLink()) continue;
        const QString name = root.relativeFilePath(file.filePath());
        if (!known.contains(name.toLower())) foreign << QDir::toNativeSeparators(name);
    }
    foreign.sort();
    return foreign;
}

QString foreignText(const QStringList& files, int limit) {
    return listed(Foreign, files, limit);
}

} // namespace ReplaceCheck
