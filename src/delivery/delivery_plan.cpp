#include "delivery/delivery_plan.h"

#include "album/album_file.h"
#include "album/blackboard_lines.h"
#include "base/ansi_codec.h"
#include "base/app_error.h"
#include "base/blackboard_xmp.h"
#include "base/photo_file.h"
#include "base/shared_routines.h"
#include "delivery/photo_xml.h"
#include "delivery/shot_date.h"
#include "delivery/value_rules.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;
using PhotoStandard::Version;

namespace DeliveryPlanner {

const QString SheetName = u"写真帳"_s;
const QString NoPhotos = u"ファイル名（写真のパス）が入った行がないため、出力する写真がありません。"_s;

namespace {

// A message box cannot show hundreds of lines; the rest is counted.
constexpr int ListedProblems = 20;

constexpr int DateLine = 13;

QString listed(const QString& headline, const QStringList& problems) {
    QString text = headline + u"（"_s + QString::number(problems.size()) + u" 件）"_s;
    for (qsizetype i = 0; i < problems.size() && i < ListedProblems; ++i)
        text += u'\n' + problems.at(i);
    if (problems.size() > ListedProblems)
        text += u"\nほか "_s + QString::number(problems.size() - ListedProblems) + u" 件"_s;
    return text;
}

struct Collector {
    const DeliveryRequest& request;
    DeliveryPlan plan;

    void add(const QList<AlbumRow>& rows, const QString& sourceName, bool onSheet) {
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const AlbumRow& row = rows.at(r);
            if (row.path.isEmpty()) continue;
            DeliveryPhoto photo;
            photo.serial = int(plan.photos.size()) + 1;
            photo.sourcePath = PhotoFile::resolve(row.path);
            photo.origin = sourceName + u' ' + QString::number(r + 1) + u" 行目"_s;
            photo.sheetRow = onSheet ? int(r + 1) : 0;
            const QFileInfo file(photo.sourcePath);
            photo.found = file.isFile() && file.isReadable();
            if (photo.found) {
                photo.size = file.size();
                plan.totalBytes += photo.size;
            }
            const FieldBuffer info = SplitLines(row.info);
            if (plan.version == Version::V03) checkTexts(info, photo);
            PhotoXml::Values values = PhotoXml::photoValues(photo.serial, info);
            if (plan.version == Version::V05) completeFor05(photo, info, values);
            takeIllegal(photo.serial, values);
            plan.xml += PhotoXml::photoBlock(plan.version, values);
            plan.photos << photo;
        }
    }

    void checkTexts(const FieldBuffer& info, const DeliveryPhoto& photo) {
        for (const PhotoXml::Item& item : PhotoXml::items()) {
            const AnsiCodec::Encoded encoded = AnsiCodec::encode(info(item.line));
            if (encoded.ok()) continue;
            plan.unmappable << photo.origin + u' ' + item.element + u"（"_s + QString::number(item.line) +
                                   u" 行目）: "_s + encoded.unmappable;
            plan.refused.insert({photo.serial, item.element});
        }
    }

    // The characters XML cannot hold are noted and left out, so that the check reads the rest.
    void takeIllegal(int serial, PhotoXml::Values& values) {
        for (auto value = values.begin(); value != values.end(); ++value) {
            const QStringList characters = ValueRules::xmlIllegal(*value);
            if (characters.isEmpty()) continue;
            plan.illegal << IllegalText{serial, value.key(), PhotoXml::lineOf(value.key()), characters};
            plan.refused.insert({serial, value.key()});
            *value = ValueRules::withoutXmlIllegal(*value);
        }
    }

    void completeFor05(DeliveryPhoto& photo, const FieldBuffer& info, PhotoXml::Values& values) {
        if (photo.found) photo.header = PhotoHeaders::read(photo.sourcePath);
        const QString typed = info(DateLine);
        const QDate date = typed.isEmpty() ? photo.header.taken : ShotDate::parse(typed);
        // A typed text that is no date is written as it stands: the check names it.
        values.insert(u"撮影年月日"_s, date.isValid() ? ShotDate::isoText(date) : typed);
        photo.undated = typed.isEmpty() && !date.isValid();
        const QString representative = info(PhotoXml::RepresentativeLine);
        const QString frequency = info(PhotoXml::FrequencyLine);
        values.insert(u"代表写真"_s, representative.isEmpty() ? u"0"_s : representative);
        const QString fallback = request.frequencyDefault.isEmpty() ? u"0"_s : request.frequencyDefault;
        values.insert(u"提出頻度写真"_s, frequency.isEmpty() ? fallback : frequency);
        if (photo.found) takeBlackboard(photo, values);
    }

    // 工種区分予備 has no line: it comes from the blackboard alone. The lines may have been
    // corrected by the user, so a difference is only noted.
    static void takeBlackboard(DeliveryPhoto& photo, PhotoXml::Values& values) {
        const BlackboardReading reading = BlackboardXmp::read(photo.sourcePath);
        if (!reading.found) return;
        const QStringList remarks = reading.blackboard.classificationRemarks;
        if (!remarks.isEmpty()) values.insert(u"工種区分予備"_s, remarks.join(PhotoXml::RepeatSeparator));
        const QStringList lines = BlackboardLines::linesOf(reading);
        for (auto value = values.cbegin(); value != values.cend(); ++value) {
            const int line = PhotoXml::lineOf(value.key());
            const QString given = line > 0 ? lines.value(line - 1) : QString();
            if (!given.isEmpty() && given != *value) photo.blackboardDiffers.append({value.key(), given});
        }
        std::sort(photo.blackboardDiffers.begin(), photo.blackboardDiffers.end(),
                  [](const auto& a, const auto& b) {
                      return PhotoXml::lineOf(a.first) < PhotoXml::lineOf(b.first);
                  });
    }
};

} // namespace

DeliveryPlan plan(const DeliveryRequest& request) {
    Collector collector{request, {}};
    collector.plan.version = request.version;
    collector.plan.standard =
        request.standard.isEmpty() ? PhotoStandard::defaultStandard(request.version) : request.standard;
    collector.plan.xml = PhotoXml::header(request.version, collector.plan.standard);
    collector.add(request.sheetRows, request.sheetName.isEmpty() ? SheetName : request.sheetName, true);
    for (const QString& album : request.listedAlbums)
        collector.add(AlbumFile::load(album, request.maxRows), QFileInfo(album).fileName(), false);
    collector.plan.xml += PhotoXml::footer();

    // The index must list at least one photo to be valid.
    if (collector.plan.photos.isEmpty()) throw AppError(NoPhotos);
    return std::move(collector.plan);
}

void refuseProblems(const DeliveryPlan& plan) {
    QStringList missing;
    for (const DeliveryPhoto& photo : plan.photos)
        if (!photo.found) missing << photo.origin + u": "_s + QDir::toNativeSeparators(photo.sourcePath);
    QStringList problems;
    if (!missing.isEmpty()) problems << listed(u"写真ファイルが見つかりません"_s, missing);
    if (!plan.unmappable.isEmpty())
        problems << listed(u"Shift_JIS で書けない文字があります"_s, plan.unmappable);
    QStringList illegal;
    for (const IllegalText& text : plan.illegal)
        illegal << plan.photos.at(text.serial - 1).origin + u' ' + text.element + u"（"_s +
                       QString::number(text.line) + u" 行目）: "_s + text.characters.join(u"、"_s);
    if (!illegal.isEmpty()) problems << listed(u"XML に書けない文字があります"_s, illegal);
    if (!problems.isEmpty()) throw AppError(problems.join(u"\n\n"_s));
}

} // namespace DeliveryPlanner
