#include "survey/real_estate_report.h"

#include "base/shipped_files.h"
#include "survey/parcel_rows.h"
#include "survey/real_estate_layout.h"
#include "xlsx/paged_sheet.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

using namespace Qt::StringLiterals;

namespace RealEstateReport {

const QString OutputName = u"不動産報告書.xlsx"_s;
const QString Activity = u"不動産報告書をEXCELファイルに出力中"_s;
const QString NoParcelChosen = u"出力画地指示がありません。リストの出力する画地を反転させて下さい。"_s;
const QString ReplaceQuestion = u"不動産報告書が既にあります。置き換えますか？"_s;

namespace {

namespace L = RealEstateLayout;

struct PlannedPhoto {
    QString pointName;
    QString path; // empty: no picture for the slot
};

void writeSlot(Workbook& book, const L::Slot& slot, int number, const QString& pointName,
               const QString& date) {
    const int b = slot.baseRow, c = slot.column;
    book.setText(b + 14, c, u"画像資料NO"_s + QString::number(number));
    book.setBottomHairline(b + 14, c, b + 14, c + 2);
    book.setText(b + 15, c, u"適用"_s);
    book.setBottomHairline(b + 15, c, b + 15, c);
    book.setText(b + 16, c + 1, u"筆界点"_s);
    book.setText(b + 16, c + 2, pointName);
    book.setText(b + 17, c, u"■撮影□作成"_s);
    book.setText(b + 17, c + 2, date);
    book.setBottomHairline(b + 17, c, b + 17, c + 3);
}

class ParcelReport : public ReportBuilder {
public:
    ParcelReport(const Request& request, const Progress& progress, Summary& done)
        : request_(request), progress_(progress), done_(done) {}

    ReportResult checkRequest() override;

    ReportResult findTemplate(QString& path) override {
        path = ShippedFiles::findTemplate(request_.programFolder, L::TemplateName);
        if (path.isEmpty())
            return ReportPipeline::failure(ReportPipeline::Unexpected, Prompts::Icon::Critical,
                                           u"不動産報告書の雛形が見つかりません: "_s + L::TemplateName +
                                               u".xlsx"_s);
        return std::nullopt;
    }

    OutputGuard keptFiles(const QString& templatePath) const override {
        OutputGuard guard = request_.guard;
        guard.keep(templatePath, OutputGuard::Template);
        for (const ReportPhoto& photo : photos_)
            guard.keep(photo.path, OutputGuard::Photo);
        return guard;
    }

    ReportResult checkTemplate(Workbook& book, const QString& templatePath) override {
        const int sheet = book.sheetIndex(L::SheetName);
        if (sheet == 0)
            return ReportPipeline::failure(ReportPipeline::Unexpected, Prompts::Icon::Critical,
                                           u"雛形にシート「"_s + L::SheetName + u"」がありません: "_s +
                                               QDir::toNativeSeparators(templatePath));
        book.activate(sheet);
        return std::nullopt;
    }

    // Each file once: a point shared by two parcels is named once when it cannot be read.
    QList<ReportPhoto> photos() override { return photos_; }

    Progress photoProgress() override {
        return progress_.mapped([](const ProgressStep&) { return ProgressStep{}; });
    }

    void fill(Workbook& book, const ReportPictures& pictures, int printColumns) override;

private:
    void fillParcel(Workbook& book, const ReportPictures& pictures, int printColumns, qsizetype k);

    const Request& request_;
    const Progress& progress_;
    Summary& done_;
    QList<QList<PlannedPhoto>> plan_; // the slots of each chosen parcel
    QList<ReportPhoto> photos_;
};

// Every slot of the report, parcel by parcel, before anything is built.
ReportResult ParcelReport::checkRequest() {
    const QSize frame = framePixels(L::PictureWidth, L::PictureHeight);
    QSet<QString> listed;
    PhotoFile::Resolver resolver;
    for (int p : request_.parcels) {
        const SimaParcel& parcel = request_.tables.parcels.at(p - 1);
        QList<PlannedPhoto>& parcelSlots = plan_.emplace_back();
        for (int i = parcel.FirstPoint; i <= parcel.LastPoint; ++i) {
            const QString& name = request_.tables.members.at(i - 1).PointName;
            for (const QString& path : photosOfPoint(request_, name, resolver)) {
                // A photo that is not there leaves its slot empty.
                const bool present = !path.isEmpty() && QFileInfo(path).isFile();
                parcelSlots.append({name, present ? path : QString()});
                if (present && !listed.contains(path)) {
                    listed.insert(path);
                    photos_.append({0, path, frame});
                }
            }
        }
    }
    return std::nullopt;
}

void ParcelReport::fill(Workbook& book, const ReportPictures& pictures, int printColumns) {
    for (qsizetype k = 0; k < plan_.size(); ++k) {
        fillParcel(book, pictures, printColumns, k);
        // Each parcel's sheet goes before the template's, so the one before is sheet k, done
        // now that the new one holds the selection.
        if (k > 0) book.setAside(int(k));
    }
    book.deleteSheet(book.sheetIndex(L::SheetName));
    book.activate(1);
}

// A sheet a parcel, copied from the template's sheet.
void ParcelReport::fillParcel(Workbook& book, const ReportPictures& pictures, int printColumns, qsizetype k) {
    const int listRow = request_.parcels.at(k);
    const SimaParcel& parcel = request_.tables.parcels.at(listRow - 1);
    const int copy = book.copySheetBefore(book.sheetIndex(L::SheetName));
    book.activate(copy);
    // Sheets refuse some names and duplicates; the heading cell keeps the parcel's own.
    book.renameSheet(copy, book.validSheetName(parcel.Name));
    book.setText(L::HeadingRow, L::ParcelCellColumn, parcelHeading(parcel.Name));
    PagedSheet sheet(book, L::FirstPageRow, L::FirstPageRow + L::PageRows - 1, printColumns);
    int s = L::SlotsPerPage;
    for (const PlannedPhoto& photo : plan_.at(k)) {
        progress_.report({{}, done_.photos + 1, 0, listRow});
        if (s >= L::SlotsPerPage) {
            sheet.pasteUpTo(sheet.pages() + 1);
            s = 0;
        }
        const L::Slot slot = L::slot(sheet.pages(), s++);
        writeSlot(book, slot, ++done_.photos, photo.pointName, request_.date);
        if (!photo.path.isEmpty())
            pictures.place(book, slot.picture, photo.path);
        else
            ++done_.missingPhotos;
    }
    sheet.finish();
}

} // namespace

QStringList photosOfPoint(const Request& request, const QString& pointName) {
    PhotoFile::Resolver photos;
    return photosOfPoint(request, pointName, photos);
}

QStringList photosOfPoint(const Request& request, const QString& pointName, PhotoFile::Resolver& photos) {
    const auto path = [&](const QString& suffix) {
        return photos.resolve(ParcelRows::photoPath(request.folder, pointName + suffix + u".jpg"_s));
    };
    if (!request.type2) return {path({})};
    return {path(request.farSuffix), path(request.nearSuffix)};
}

QString parcelHeading(const QString& parcelName) {
    return QString(parcelName).replace(u'-', u'番');
}

ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 Summary* summary) {
    Summary done;
    ParcelReport report(request, progress, done);
    ReportResult failure = ReportPipeline::run(report, outputPath, request.threads, &done.notes);
    if (!failure && summary) *summary = done;
    return failure;
}

} // namespace RealEstateReport
