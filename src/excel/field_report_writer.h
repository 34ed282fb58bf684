#pragma once

#include "base/progress.h"
#include "excel/field_report_plan.h"
#include "xlsx/paged_sheet.h"
#include "xlsx/report_pipeline.h"

#include <optional>

// Writes a survey report's places into its template, the template's sheet active: one sheet
// of pages (kinds 0 and 3 to 6), a sheet a page (kind 1) or a sheet a processing unit (kind 2).
class FieldReportWriter {
public:
    FieldReportWriter(Workbook& book, const FieldReport::Request& request, const FieldReportPlan::Plan& plan,
                      int printColumns);

    // Throws Cancelled when stopped.
    void write(const QList<FieldReportPlan::Place>& places, const ReportPictures& pictures,
               const Progress& progress);

private:
    bool oneSheet() const { return kind_.index != 1 && kind_.index != 2; }
    void writeHeading();
    int openCopy();
    void openUnitsUpTo(int target);
    void finishUnit();
    void writeTexts(const FieldReportPlan::Place& place, int page);
    void writeBandText(const QString& line1, int page, int band, bool even);

    Workbook& book_;
    const FieldReport::Request& request_;
    const FieldReportLayout::Kind kind_;
    const FieldReportPlan::Plan& plan_;
    const int printColumns_;
    std::optional<PagedSheet> sheet_;
    int unit_ = -1, unitPages_ = 0;
    // The line a band shows, kept from its left photo.
    QString remembered_;
    int rememberedBand_ = -1, rememberedPage_ = -1;
};
