#include "delivery/delivery_plan.h"

#include "album/album_file.h"
#include "app/ansi_codec.h"
#include "app/app_error.h"
#include "app/shared_routines.h"
#include "delivery/photo_xml.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace DeliveryPlanner {

const QString SheetName = u"写真帳"_s;
const QString NoPhotos = u"ファイル名（写真のパス）が入った行がないため、出力する写真がありません。"_s;

namespace {

// A message box cannot show hundreds of lines; the rest is counted.
constexpr int ListedProblems = 20;

QString listed(const QString& headline, const QStringList& problems) {
    QString text = headline + u"（"_s + QString::number(problems.size()) + u" 件）"_s;
    for (qsizetype i = 0; i < problems.size() && i < ListedProblems; ++i)
        text += u'\n' + problems.at(i);
    if (problems.size() > ListedProblems)
        text += u"\nほか "_s + QString::number(problems.size() - ListedProblems) + u" 件"_s;
    return text;
}

struct Collector {
    DeliveryPlan plan;
    QStringList missing;
    QStringList unmappable;

    void add(const QList<AlbumRow>& rows, const QString& sourceName) {
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const AlbumRow& row = rows.at(r);
            if (row.path.isEmpty()) continue;
            const QString origin = sourceName + u' ' + QString::number(r + 1) + u" 行目"_s;
            const FieldBuffer info = SplitLines(row.info);
            checkTexts(info, origin);

            DeliveryPhoto photo;
            photo.serial = int(plan.photos.size()) + 1;
            photo.sourcePath = row.path;
            photo.origin = origin;
            const QFileInfo file(row.path);
            if (file.isFile() && file.isReadable()) {
                photo.size = file.size();
                plan.totalBytes += photo.size;
            } else {
                missing << origin + u": "_s + QDir::toNativeSeparators(row.path);
            }
            plan.xml += PhotoXml::photoBlock(photo.serial, info);
            plan.photos << photo;
        }
    }

    void checkTexts(const FieldBuffer& info, const QString& origin) {
        for (const PhotoXml::Item& item : PhotoXml::items()) {
            const AnsiCodec::Encoded encoded = AnsiCodec::encode(info(item.line));
            if (!encoded.ok())
                unmappable << origin + u' ' + item.element + u"（"_s + QString::number(item.line) +
                                  u" 行目）: "_s + encoded.unmappable;
        }
    }
};

} // namespace

DeliveryPlan plan(const QList<AlbumRow>& sheetRows, const QStringList& listedAlbums, int maxRows) {
    Collector collector;
    collector.plan.xml = PhotoXml::header();
    collector.add(sheetRows, SheetName);
    for (const QString& album : listedAlbums)
        collector.add(AlbumFile::load(album, maxRows), QFileInfo(album).fileName());
    collector.plan.xml += PhotoXml::footer();

    // The index must list at least one photo to be valid.
    if (collector.plan.photos.isEmpty()) throw AppError(NoPhotos);
    QStringList problems;
    if (!collector.missing.isEmpty())
        problems << listed(u"写真ファイルが見つかりません"_s, collector.missing);
    if (!collector.unmappable.isEmpty())
        problems << listed(u"Shift_JIS で書けない文字があります"_s, collector.unmappable);
    if (!problems.isEmpty()) throw AppError(problems.join(u"\n\n"_s));
    return std::move(collector.plan);
}

} // namespace DeliveryPlanner
