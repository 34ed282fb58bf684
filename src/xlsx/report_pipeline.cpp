#include "xlsx/report_pipeline.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/output_folder.h"
#include "xlsx/legacy_xls.h"

#include <QDir>
#include <QFileInfo>

#include <variant>

using namespace Qt::StringLiterals;

QStringList ReportFailure::details() const {
    if (!badDetails.isEmpty()) return badDetails;
    if (!detail.isEmpty() && detail != message) return {detail};
    return {};
}

ReportPictures::ReportPictures(QList<PreparedPicture> pictures, std::map<QString, int> indexOfPath)
    : pictures_(std::move(pictures)), indexOfPath_(std::move(indexOfPath)) {}

void ReportPictures::place(Workbook& book, const PictureRect& rect, const QString& path) const {
    const PreparedPicture& picture = pictures_.at(indexOfPath_.at(path));
    book.addPicture(rect, picture.bytes, picture.extension);
}

namespace ReportPipeline {

const QString PhotoFailed = u"写真が呼出せません。入力データを確認して下さい。"_s;
const QString Unexpected = u"予期せぬエラーが発生しました。ご迷惑をおかけ致します。"_s;

ReportFailure refusal(const QString& message, const QString& detail) {
    ReportFailure f = failure(message, Prompts::Icon::Exclamation, detail);
    f.keepDialogOpen = true;
    return f;
}

ReportFailure failure(const QString& message, Prompts::Icon icon, const QString& detail) {
    ReportFailure f;
    f.message = message;
    f.icon = icon;
    f.detail = detail;
    return f;
}

ReportFailure missingTemplate(const QString& templateName) {
    return failure(u"雛形が見つかりません: "_s + templateName + u".xlsx"_s, Prompts::Icon::Critical);
}

ReportResult activateSheet(Workbook& book, const QString& sheetName, const QString& templatePath) {
    const int index = book.sheetIndex(sheetName);
    if (index == 0)
        return failure(u"雛形にシート「"_s + sheetName + u"」がありません。\r\n"_s +
                           QDir::toNativeSeparators(templatePath),
                       Prompts::Icon::Critical);
    book.activate(index);
    return std::nullopt;
}

namespace {

// The template's own failure to open is the user's message, not an unexpected error.
std::variant<Workbook, ReportFailure> openTemplate(const QString& path) {
    try {
        return Workbook::open(LegacyXls::isLegacy(path) ? LegacyXls::convertedCopy(path) : path);
    } catch (const AppError& error) {
        return failure(error.message(), Prompts::Icon::Critical, error.message());
    }
}

// Every photo is read before anything is built, so a bad one is named up front.
std::variant<ReportPictures, ReportFailure> readPhotos(ReportBuilder& report, int threads) {
    const QList<ReportPhoto> photos = report.photos();
    QList<PictureJob> jobs;
    std::map<QString, int> jobOf;
    for (const ReportPhoto& photo : photos) {
        if (jobOf.count(photo.path)) continue;
        jobOf[photo.path] = int(jobs.size());
        jobs.append({photo.path, photo.frame});
    }
    QList<PreparedPicture> pictures = preparePictures(jobs, threads, report.photoProgress());
    ReportFailure bad = failure(PhotoFailed, Prompts::Icon::Exclamation);
    for (const ReportPhoto& photo : photos) {
        const QString& error = pictures.at(jobOf.at(photo.path)).error;
        if (error.isEmpty()) continue;
        const QString named = QDir::toNativeSeparators(photo.path) + u" ("_s + error + u')';
        if (photo.row > 0) bad.badRows.append(photo.row);
        bad.badDetails.append(photo.row > 0 ? QString::number(photo.row) + u": "_s + named : named);
    }
    if (!bad.badDetails.isEmpty()) return bad;
    return ReportPictures(std::move(pictures), std::move(jobOf));
}

// A write that fails (a full or read-only disk, the folder gone) is the user's to put right, not
// an unexpected error: its reason is the message.
ReportResult save(const Workbook& book, const QString& outputPath, const OutputFolder& folder) {
    const QByteArray bytes = book.toBytes();
    try {
        writeFileAtomically(outputPath, bytes, Workbook::SaveFailed, &folder);
    } catch (const AppError& error) {
        return failure(error.message(), Prompts::Icon::Critical);
    }
    return std::nullopt;
}

ReportResult build(ReportBuilder& report, const QString& outputPath, const OutputFolder& folder, int threads,
                   QStringList* notes) {
    QString source;
    if (auto missing = report.findTemplate(source)) return missing;
    if (const QString refused = report.keptFiles(source).refusal(outputPath); !refused.isEmpty())
        return refusal(refused);
    auto opened = openTemplate(source);
    if (auto* failed = std::get_if<ReportFailure>(&opened)) return *failed;
    Workbook& book = std::get<Workbook>(opened);
    if (auto refused = report.checkTemplate(book, source)) return refused;
    const int printColumns = book.printAreaLastColumn();
    auto read = readPhotos(report, threads);
    if (auto* failed = std::get_if<ReportFailure>(&read)) return *failed;
    folder.check();
    report.fill(book, std::get<ReportPictures>(read), printColumns);
    if (auto failed = save(book, outputPath, folder)) return failed;
    if (notes && !book.shortenedNote().isEmpty()) notes->append(book.shortenedNote());
    return std::nullopt;
}

} // namespace

Progress withActivity(const Progress& progress, const QString& activity) {
    return progress.mapped([activity](ProgressStep step) {
        step.activity = activity;
        return step;
    });
}

ReportResult run(ReportBuilder& report, const QString& outputPath, int threads, QStringList* notes) {
    const OutputFolder folder(QFileInfo(outputPath).absolutePath());
    try {
        if (auto refused = report.checkRequest()) return refused;
        return build(report, outputPath, folder, threads, notes);
    } catch (const OutputFolderGone& gone) {
        return failure(gone.message(), Prompts::Icon::Critical);
    } catch (const AppError& error) {
        return failure(Unexpected, Prompts::Icon::Critical, error.message());
    }
}

} // namespace ReportPipeline
