#pragma once

#include "excel/field_report.h"
#include "excel/field_report_layout.h"

#include <QList>
#include <QString>
#include <QStringList>

// Where each photo of a survey report goes.
namespace FieldReportPlan {

// One album row with a photo, where it goes.
struct Place {
    int row = 0; // album row; negative: the photo is not there, its unit still opens
    int page = 0;
    int slot = 0;
    int unit = 0; // kind 2: the processing unit (from 0); kind 1: the page's sheet
};

struct Plan {
    QList<Place> places;
    int pages = 0;
    QStringList unitKeys; // kind 2
    QList<int> unitPages; // kind 2: pages of each unit
};

// Slots run on for every row, photo or not; kind 2 restarts the pages with each unit.
Plan plan(const QList<AlbumRow>& rows, const FieldReportLayout::Kind& kind);

// Kind 1's sheet of page n (from 1): the typed name, then "NAME (2)" and on.
QString pageSheetName(const QString& name, int n);

} // namespace FieldReportPlan
