#include "excel/point_record.h"

#include "base/app_error.h"
#include "base/shared_routines.h"
#include "base/shipped_files.h"
#include "excel/point_record_layout.h"
#include "survey/sima_reader.h"
#include "xlsx/paged_sheet.h"

using namespace Qt::StringLiterals;

namespace PointRecord {

const QStringList MarkerKinds = {u"木杭"_s,       u"金属標"_s,   u"測量鋲"_s,     u"標石"_s, u"刻"_s,
                                 u"市石杭"_s,     u"市金属標"_s, u"市プレート"_s, u"民石"_s, u"民金属標"_s,
                                 u"民プレート"_s, u"県石杭"_s,   u"県金属標"_s};
const QString ReadingSima = u"SIMAﾌｧｲﾙ内部に呼び出し中"_s;
const QString Writing = u"点の記をEXCELファイルに出力中"_s;

namespace {

namespace L = PointRecordLayout;

// Three decimals, halves away from zero, kept a number so the user can still add them up.
void writeCoordinate(Workbook& book, int row, int column, double value) {
    book.setNumber(row, column, RoundValue(value, 3, 1), L::CoordinateFormat);
}

class PointRecordReport : public ReportBuilder {
public:
    PointRecordReport(const Request& request, const Progress& progress)
        : request_(request), progress_(progress) {}

    // An unreadable SIMA file stops the run before anything is built.
    ReportResult checkRequest() override {
        if (request_.simaPath.isEmpty()) return std::nullopt;
        progress_.report({ReadingSima, 0, 0});
        try {
            sima_ = LoadSimaPoints(request_.simaPath);
        } catch (const AppError& error) {
            return ReportPipeline::refusal(error.message(), error.message());
        }
        return std::nullopt;
    }

    ReportResult findTemplate(QString& path) override {
        path = ShippedFiles::findTemplate(request_.programFolder, L::TemplateName);
        if (path.isEmpty()) return ReportPipeline::missingTemplate(L::TemplateName);
        return std::nullopt;
    }

    OutputGuard keptFiles(const QString& templatePath) const override {
        OutputGuard guard = request_.guard;
        guard.keep(templatePath, OutputGuard::Template).keep(request_.simaPath, OutputGuard::Survey);
        for (const AlbumRow& row : request_.rows)
            guard.keep(row.path, OutputGuard::Photo);
        return guard;
    }

    ReportResult checkTemplate(Workbook& book, const QString& templatePath) override {
        return ReportPipeline::activateSheet(book, L::SheetName, templatePath);
    }

    QList<ReportPhoto> photos() override {
        QList<ReportPhoto> photos;
        const QSize frame = framePixels(L::PictureWidth, L::PictureHeight);
        for (int i = 1; i <= int(request_.rows.size()); ++i)
            if (!request_.rows[i - 1].path.isEmpty()) photos.append({i, request_.rows[i - 1].path, frame});
        return photos;
    }

    Progress photoProgress() override { return ReportPipeline::withActivity(progress_, Writing); }

    void fill(Workbook& book, const ReportPictures& pictures, int printColumns) override;

private:
    void writePlace(Workbook& book, const AlbumRow& row, int page, int slot);

    const Request& request_;
    const Progress& progress_;
    SimaPoints sima_;
};

void PointRecordReport::fill(Workbook& book, const ReportPictures& pictures, int printColumns) {
    PagedSheet sheet(book, 1, L::PageRows, printColumns);
    int slot = L::PlacesPerPage;
    const int total = int(request_.rows.size());
    for (int i = 1; i <= total; ++i) {
        progress_.report({Writing, i, total, i});
        if (slot >= L::PlacesPerPage) {
            sheet.pasteUpTo(sheet.pages() + 1);
            slot = 0;
            const int top = L::PageRows * sheet.pages();
            book.setText(top + L::WorkNameRow, L::WorkNameColumn, request_.workName);
            book.setText(top + L::InspectorRow, L::InspectorColumn, request_.inspector);
        }
        const AlbumRow& row = request_.rows[i - 1];
        if (!row.path.isEmpty()) {
            writePlace(book, row, sheet.pages(), slot);
            pictures.place(book, L::picture(sheet.pages(), slot), row.path);
        }
        ++slot;
    }
    sheet.finish();
}

void PointRecordReport::writePlace(Workbook& book, const AlbumRow& row, int page, int slot) {
    const FieldBuffer lines = SplitLines(row.info);
    const QString name = lines(1);
    const QString marker = lines(2).isEmpty() ? request_.defaultMarker : lines(2);
    const int r = L::bandBase(page, slot), c = L::placeColumn(slot);
    book.setText(r + L::RouteRow, c, request_.routeName);
    book.setText(r + L::RouteRow, c + L::NameOffset, name);
    if (!marker.isEmpty()) book.setText(r + L::RouteRow, c + L::MarkerOffset, marker);
    book.setText(r + L::LocationRow, c + L::ValueOffset, request_.location);
    if (const auto found = FindPointByName(sima_.index, name.left(L::PointNameLength))) {
        const SimaPoint& point = sima_.points[*found - 1];
        writeCoordinate(book, r + L::XRow, c + L::ValueOffset, point.X);
        writeCoordinate(book, r + L::YRow, c + L::ValueOffset, point.Y);
        // A point without a height field has no height to show, not 0.
        if (request_.heightOn && point.HasHeight)
            writeCoordinate(book, r + L::HeightRow, c + L::ValueOffset, point.H);
    }
}

} // namespace

ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 QStringList* notes) {
    PointRecordReport report(request, progress);
    return ReportPipeline::run(report, outputPath, request.threads, notes);
}

} // namespace PointRecord
