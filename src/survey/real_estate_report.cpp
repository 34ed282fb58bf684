#include "survey/real_estate_report.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "xlsx/legacy_xls.h"
#include "xlsx/picture_prep.h"
#include "base/shipped_files.h"
#include "xlsx/workbook.h"
#include "survey/parcel_rows.h"
#include "survey/real_estate_layout.h"

#include <QDir>
#include <QFileInfo>

#include <map>

using namespace Qt::StringLiterals;

namespace RealEstateReport {

const QString OutputName = u"不動産報告書.xlsx"_s;
const QString Activity = u"不動産報告書をEXCELファイルに出力中"_s;
const QString NoParcelChosen = u"出力画地指示がありません。リストの出力する画地を反転させて下さい。"_s;
const QString PhotoFailed = u"写真が呼出せません。入力データを確認して下さい。"_s;
const QString Unexpected = u"予期せぬエラーが発生しました。ご迷惑をおかけ致します。"_s;
const QString ReplaceQuestion = u"不動産報告書が既にあります。置き換えますか？"_s;

namespace {

namespace L = RealEstateLayout;

Failure failure(const QString& message, const QStringList& details,
                Prompts::Icon icon = Prompts::Icon::Critical) {
    return {message, icon, details};
}

struct PlannedPhoto {
    QString pointName;
    QString path; // empty: no picture for the slot
};

Workbook openTemplate(const QString& path) {
    return Workbook::open(LegacyXls::isLegacy(path) ? LegacyXls::convertedCopy(path) : path);
}

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

} // namespace

QStringList photosOfPoint(const Request& request, const QString& pointName) {
    const auto path = [&](const QString& suffix) {
        return ParcelRows::photoFile(request.folder, pointName + suffix + u".jpg"_s);
    };
    if (!request.type2) return {path({})};
    return {path(request.farSuffix), path(request.nearSuffix)};
}

QString parcelHeading(const QString& parcelName) {
    return QString(parcelName).replace(u'-', u'番');
}

std::optional<Failure> run(const Request& request, const QString& outputPath, const Progress& progress,
                           Summary* summary) {
    // Every slot of the report, parcel by parcel, before anything is built.
    QList<QList<PlannedPhoto>> plan;
    QList<PictureJob> jobs;
    std::map<QString, int> jobOf;
    const QSize frame = framePixels(L::PictureWidth, L::PictureHeight);
    for (int p : request.parcels) {
        const SimaParcel& parcel = request.tables.parcels.at(p - 1);
        QList<PlannedPhoto>& photos = plan.emplace_back();
        for (int i = parcel.FirstPoint; i <= parcel.LastPoint; ++i) {
            const QString& name = request.tables.members.at(i - 1).PointName;
            for (const QString& path : photosOfPoint(request, name)) {
                // A photo that is not there leaves its slot empty.
                const bool present = !path.isEmpty() && QFileInfo(path).isFile();
                photos.append({name, present ? path : QString()});
                if (present && !jobOf.count(path)) {
                    jobOf[path] = int(jobs.size());
                    jobs.append({path, frame});
                }
            }
        }
    }

    try {
        const QString source = ShippedFiles::findTemplate(request.programFolder, L::TemplateName);
        if (source.isEmpty())
            return failure(Unexpected,
                           {u"不動産報告書の雛形が見つかりません: "_s + L::TemplateName + u".xlsx"_s});
        OutputGuard guard = request.guard;
        guard.keep(source, OutputGuard::Template);
        for (const PictureJob& job : jobs)
            guard.keep(job.path, OutputGuard::Photo);
        if (const QString refused = guard.refusal(outputPath); !refused.isEmpty())
            return failure(refused, {}, Prompts::Icon::Exclamation);
        std::optional<Workbook> opened;
        try {
            opened.emplace(openTemplate(source));
        } catch (const AppError& error) {
            return failure(error.message(), {});
        }
        Workbook& book = *opened;
        if (book.sheetIndex(L::SheetName) == 0)
            return failure(Unexpected, {u"雛形にシート「"_s + L::SheetName + u"」がありません: "_s +
                                        QDir::toNativeSeparators(source)});
        book.activate(book.sheetIndex(L::SheetName));
        const int printColumns = book.printAreaLastColumn();

        const QList<PreparedPicture> pictures =
            preparePictures(jobs, request.threads, [&](int, int) { return !progress || progress(0, 0); });
        if (pictures.size() != jobs.size()) return Failure{};
        QStringList unreadable;
        for (qsizetype j = 0; j < jobs.size(); ++j)
            if (!pictures.at(j).error.isEmpty())
                unreadable << QDir::toNativeSeparators(jobs.at(j).path) + u" ("_s + pictures.at(j).error +
                                  u')';
        if (!unreadable.isEmpty()) return failure(PhotoFailed, unreadable, Prompts::Icon::Exclamation);

        int number = 0;
        Summary done;
        for (qsizetype k = 0; k < plan.size(); ++k) {
            const SimaParcel& parcel = request.tables.parcels.at(request.parcels.at(k) - 1);
            const int copy = book.copySheetBefore(book.sheetIndex(L::SheetName));
            book.activate(copy);
            // Sheets refuse some names and duplicates; the heading cell keeps the parcel's own.
            book.renameSheet(copy, book.validSheetName(parcel.Name));
            book.setText(L::HeadingRow, L::ParcelCellColumn, parcelHeading(parcel.Name));
            book.copyRows(L::FirstPageRow, L::FirstPageRow + L::PageRows - 1);
            int s = L::SlotsPerPage, page = 0;
            for (const PlannedPhoto& photo : plan.at(k)) {
                if (progress && !progress(request.parcels.at(k), number + 1)) return Failure{};
                if (s >= L::SlotsPerPage) {
                    ++page;
                    s = 0;
                    book.pasteRows(L::PageRows * page + L::FirstPageRow);
                }
                ++number;
                const L::Slot slot = L::slot(page, s);
                writeSlot(book, slot, number, photo.pointName, request.date);
                if (!photo.path.isEmpty()) {
                    const PreparedPicture& picture = pictures.at(jobOf[photo.path]);
                    book.addPicture(slot.picture, picture.bytes, picture.extension);
                } else {
                    ++done.missingPhotos;
                }
                ++s;
            }
            book.deleteRows(L::FirstPageRow, L::FirstPageRow + L::PageRows - 1);
            book.setPrintArea(L::FirstPageRow - 1 + page * L::PageRows, printColumns);
            book.selectCell(1, 1);
        }
        done.photos = number;
        book.deleteSheet(book.sheetIndex(L::SheetName));
        book.activate(1);
        book.save(outputPath);
        if (!book.shortenedNote().isEmpty()) done.notes << book.shortenedNote();
        if (summary) *summary = done;
    } catch (const AppError& error) {
        return failure(Unexpected, {error.message()});
    }
    return std::nullopt;
}

} // namespace RealEstateReport
