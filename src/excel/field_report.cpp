#include "excel/field_report.h"

#include "base/photo_file.h"
#include "base/shared_routines.h"
#include "base/shipped_files.h"
#include "excel/field_report_plan.h"
#include "excel/field_report_writer.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace FieldReport {

const QString NoSheetName = u"シート名は必ず入力して下さい。"_s;
const QStringList KindCaptions = {u"１つのシートで縦に続けて処理"_s,
                                  u"シート名を分けて処理"_s,
                                  u"処理単位でシート分け"_s,
                                  u"街区三角点現況写真"_s,
                                  u"街区多角点現況写真"_s,
                                  u"境界点写真"_s,
                                  u"作業管理写真"_s};

namespace {

namespace L = FieldReportLayout;
using FieldReportPlan::Place;

class FieldReportBuilder : public ReportBuilder {
public:
    FieldReportBuilder(const Request& request, const Progress& progress)
        : request_(request), progress_(progress) {}

    ReportResult checkRequest() override {
        if (auto refused = FieldReport::checkRequest(request_)) return refused;
        kind_ = L::kind(request_.kind);
        return std::nullopt;
    }

    ReportResult findTemplate(QString& path) override {
        path = ShippedFiles::findTemplate(request_.programFolder, templateName());
        if (path.isEmpty()) return ReportPipeline::missingTemplate(templateName());
        return std::nullopt;
    }

    OutputGuard keptFiles(const QString& templatePath) const override {
        OutputGuard guard = request_.guard;
        guard.keep(templatePath, OutputGuard::Template);
        for (const AlbumRow& row : request_.rows)
            guard.keep(row.path, OutputGuard::Photo);
        return guard;
    }

    ReportResult checkTemplate(Workbook& book, const QString& templatePath) override {
        plan_ = FieldReportPlan::plan(request_.rows, kind_);
        if (auto missing = ReportPipeline::activateSheet(book, kind_.templateKind, templatePath))
            return missing;
        if (kind_.index == 1) return checkSheetNames(book);
        return std::nullopt;
    }

    QList<ReportPhoto> photos() override;

    Progress photoProgress() override {
        return ReportPipeline::withActivity(progress_, activity(kind_.index));
    }

    void fill(Workbook& book, const ReportPictures& pictures, int printColumns) override {
        FieldReportWriter(book, request_, plan_, printColumns).write(places_, pictures, progress_);
    }

private:
    QString templateName() const { return kind_.templateKind + u"ORG"_s; }
    ReportResult checkSheetNames(const Workbook& book) const;

    const Request& request_;
    const Progress& progress_;
    L::Kind kind_;
    FieldReportPlan::Plan plan_;
    QList<Place> places_;
};

// A typed name that no sheet can carry is refused before anything is built.
ReportResult FieldReportBuilder::checkSheetNames(const Workbook& book) const {
    const QString longest = FieldReportPlan::pageSheetName(request_.sheetName, qMax(plan_.pages, 1));
    QString problem = book.sheetNameProblem(request_.sheetName);
    if (problem.isEmpty()) problem = book.sheetNameProblem(longest);
    if (problem.isEmpty()) return std::nullopt;
    return ReportPipeline::refusal(u"シート名に使えない名前です: "_s + request_.sheetName + u"\r\n"_s +
                                   problem);
}

// Kind 2 leaves out the photos that are not there.
QList<ReportPhoto> FieldReportBuilder::photos() {
    QList<ReportPhoto> photos;
    const QSize frame = framePixels(kind_.width, kind_.height);
    for (const Place& place : plan_.places) {
        const QString& path = request_.rows[place.row - 1].path;
        if (kind_.index == 2 && !QFileInfo(PhotoFile::resolve(path)).isFile()) {
            Place blank = place;
            blank.row = -place.row;
            places_.append(blank);
            continue;
        }
        places_.append(place);
        photos.append({place.row, path, frame});
    }
    return photos;
}

} // namespace

QString activity(int kind) {
    return L::kind(kind).templateKind + u"をEXCELファイルに出力中"_s;
}

QString defaultSheetName(const QList<AlbumRow>& rows) {
    if (rows.isEmpty()) return {};
    const QString line = SplitLines(rows.first().info)(1);
    const int first = int(line.indexOf(u'-'));
    const int second = first < 0 ? -1 : int(line.indexOf(u'-', first + 1));
    return second < 0 ? line : line.left(second);
}

QString defaultOutputName(int kind) {
    return L::kind(kind).templateKind + u".xlsx"_s;
}

ReportResult checkRequest(const Request& request) {
    if (request.kind < 0 || request.kind >= L::KindCount)
        return ReportPipeline::failure(ReportPipeline::Unexpected, Prompts::Icon::Critical,
                                       u"処理種別は 0 から 6 です: "_s + QString::number(request.kind));
    if (request.kind == 1 && request.sheetName.isEmpty()) return ReportPipeline::refusal(NoSheetName);
    return std::nullopt;
}

ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 QStringList* notes) {
    FieldReportBuilder report(request, progress);
    return ReportPipeline::run(report, outputPath, request.threads, notes);
}

} // namespace FieldReport
