#include "delivery/delivery_review.h"

#include "delivery/index_check.h"
#include "delivery/photo_xml.h"

#include <QDir>
#include <QHash>

using namespace Qt::StringLiterals;

namespace DeliveryReview {

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
    QList<Finding> findings = IndexCheck::check(plan.xml, files, true);
    for (Finding& finding : findings) {
        if (finding.serial < 1 || finding.serial > plan.photos.size()) continue;
        const DeliveryPhoto& photo = plan.photos.at(finding.serial - 1);
        finding.place = photo.origin + u" ("_s + QDir::toNativeSeparators(photo.sourcePath) + u')';
        finding.sheetRow = photo.sheetRow;
    }
    return findings;
}

} // namespace DeliveryReview
