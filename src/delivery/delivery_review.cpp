#include "delivery/delivery_review.h"

#include "delivery/index_check.h"
#include "delivery/photo_xml.h"

#include <QDir>
#include <QHash>

using namespace Qt::StringLiterals;

namespace DeliveryReview {

namespace {

// The characters the plan left out of the index, reported as the check reports characters.
QList<Finding> illegalCharacters(const DeliveryPlan& plan) {
    QList<Finding> findings;
    for (const IllegalText& text : plan.illegal)
        findings << Findings::make(Finding::Severity::Error, u"charset"_s, text.serial, text.element,
                                   u"〈"_s + text.element + u"〉に XML で使えない文字があります: "_s +
                                       text.characters.join(u"、"_s));
    return findings;
}

// What the version 03 export refuses stays an error: missing photos and the characters it
// cannot write.
bool refusedBy03(const DeliveryPlan& plan, const Finding& finding) {
    return finding.code == u"missing-file"_s ||
           (finding.code == u"charset"_s && plan.refused.contains({finding.serial, finding.element}));
}

// Lines that differ from the photo's blackboard: the user may have corrected them.
QList<Finding> blackboardNotes(const DeliveryPlan& plan) {
    QList<Finding> findings;
    for (const DeliveryPhoto& photo : plan.photos)
        for (const auto& [element, given] : photo.blackboardDiffers)
            findings << Findings::make(Finding::Severity::Note, u"blackboard"_s, photo.serial, element,
                                       u"〈"_s + element + u"〉が写真の黒板情報「"_s + given +
                                           u"」と違います"_s);
    return findings;
}

} // namespace

QList<Finding> review(const DeliveryPlan& plan) {
    IndexFiles files;
    QHash<QString, const DeliveryPhoto*> byName;
    for (const DeliveryPhoto& photo : plan.photos) {
        if (!photo.found) continue;
        const QString name = PhotoXml::serialFileName(photo.serial);
        files.pictures << name;
        byName.insert(name, &photo);
    }
    files.topLevel = {u"PHOTO.XML"_s, PhotoStandard::dtdName(plan.version)};
    const bool cached = plan.version == PhotoStandard::Version::V05;
    files.header = [&byName, cached](const QString& name) {
        const DeliveryPhoto* photo = byName.value(name);
        return cached ? photo->header : PhotoHeaders::read(photo->sourcePath);
    };
    QList<Finding> findings =
        illegalCharacters(plan) + IndexCheck::check(plan.xml, files, true) + blackboardNotes(plan);
    for (Finding& finding : findings) {
        if (finding.serial < 1 || finding.serial > plan.photos.size()) continue;
        const DeliveryPhoto& photo = plan.photos.at(finding.serial - 1);
        finding.place = photo.origin + u" ("_s + QDir::toNativeSeparators(photo.sourcePath) + u')';
        finding.sheetRow = photo.sheetRow;
        finding.line = PhotoXml::lineOf(finding.element);
    }
    if (plan.version == PhotoStandard::Version::V03)
        for (Finding& finding : findings)
            if (finding.severity == Finding::Severity::Error && !refusedBy03(plan, finding))
                finding.severity = Finding::Severity::Warning;
    return findings;
}

} // namespace DeliveryReview
