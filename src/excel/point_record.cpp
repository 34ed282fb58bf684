#include "excel/point_record.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/shared_routines.h"
#include "xlsx/legacy_xls.h"
#include "xlsx/picture_prep.h"
#include "excel/point_record_layout.h"
#include "base/shipped_files.h"
#include "xlsx/workbook.h"
#include "survey/sima_reader.h"

#include <QDir>

#include <map>

using namespace Qt::StringLiterals;

namespace PointRecord {

const QStringList MarkerKinds = {u"木杭"_s,       u"金属標"_s,   u"測量鋲"_s,     u"標石"_s, u"刻"_s,
                                 u"市石杭"_s,     u"市金属標"_s, u"市プレート"_s, u"民石"_s, u"民金属標"_s,
                                 u"民プレート"_s, u"県石杭"_s,   u"県金属標"_s};
const QString ReadingSima = u"SIMAﾌｧｲﾙ内部に呼び出し中"_s;
const QString Writing = u"点の記をEXCELファイルに出力中"_s;

namespace {

namespace L = PointRecordLayout;
using AlbumExcel::Failure;

Failure failure(const QString& message, Prompts::Icon icon, const QString& detail = {},
                bool keepOpen = false) {
    Failure f;
    f.message = message;
    f.icon = icon;
    f.detail = detail;
    f.keepDialogOpen = keepOpen;
    return f;
}

// Three decimals, halves away from zero, kept a number so the user can still add them up.
void writeCoordinate(Workbook& book, int row, int column, double value) {
    book.setNumber(row, column, RoundValue(value, 3, 1), L::CoordinateFormat);
}

} // namespace

std::optional<Failure> run(const Request& request, const QString& outputPath,
                           const AlbumExcel::Progress& progress, QStringList* notes) {
    // An unreadable SIMA file stops the run before anything is built.
    SimaPoints sima;
    if (!request.simaPath.isEmpty()) {
        if (progress && !progress(ReadingSima, 0, 0, 0)) return Failure{};
        try {
            sima = LoadSimaPoints(request.simaPath);
        } catch (const AppError& error) {
            return failure(error.message(), Prompts::Icon::Exclamation, error.message(), true);
        }
    }
    const QString source = ShippedFiles::findTemplate(request.programFolder, L::TemplateName);
    if (source.isEmpty())
        return failure(u"雛形が見つかりません: "_s + L::TemplateName + u".xlsx"_s, Prompts::Icon::Critical);
    OutputGuard guard = request.guard;
    guard.keep(source, OutputGuard::Template).keep(request.simaPath, OutputGuard::Survey);
    if (auto refused = AlbumExcel::refuseKept(guard, request.rows, outputPath)) return refused;
    try {
        std::optional<Workbook> opened;
        try {
            opened.emplace(
                Workbook::open(LegacyXls::isLegacy(source) ? LegacyXls::convertedCopy(source) : source));
        } catch (const AppError& error) {
            return failure(error.message(), Prompts::Icon::Critical, error.message());
        }
        Workbook& book = *opened;
        const int sheet = book.sheetIndex(L::SheetName);
        if (sheet == 0)
            return failure(u"雛形にシート「"_s + L::SheetName + u"」がありません。\r\n"_s +
                               QDir::toNativeSeparators(source),
                           Prompts::Icon::Critical);
        book.activate(sheet);
        const int printColumns = book.printAreaLastColumn();

        // Photos are read and checked before anything is built.
        QList<PictureJob> jobs;
        std::map<QString, int> jobOf;
        const QSize frame = framePixels(256, 192);
        for (const AlbumRow& row : request.rows) {
            if (row.path.isEmpty() || jobOf.count(row.path)) continue;
            jobOf[row.path] = int(jobs.size());
            jobs.append({row.path, frame});
        }
        const QList<PreparedPicture> pictures =
            preparePictures(jobs, request.threads, [&](int done, int total) {
                return !progress || progress(Writing, 0, done, total);
            });
        if (pictures.size() != jobs.size()) return Failure{};
        Failure bad = failure(AlbumExcel::PhotoFailed, Prompts::Icon::Exclamation);
        for (int i = 1; i <= int(request.rows.size()); ++i) {
            const QString& path = request.rows[i - 1].path;
            if (path.isEmpty()) continue;
            const PreparedPicture& picture = pictures[jobOf[path]];
            if (picture.error.isEmpty()) continue;
            bad.badRows.append(i);
            bad.badDetails.append(QString::number(i) + u": "_s + QDir::toNativeSeparators(path) + u" ("_s +
                                  picture.error + u')');
        }
        if (!bad.badRows.isEmpty()) return bad;

        book.copyRows(1, L::PageRows);
        int page = 0, slot = L::PlacesPerPage;
        for (int i = 1; i <= int(request.rows.size()); ++i) {
            if (progress && !progress(Writing, i, i, int(request.rows.size()))) return Failure{};
            if (slot >= L::PlacesPerPage) {
                ++page;
                book.pasteRows(L::PageRows * page + 1);
                slot = 0;
                book.setText(L::PageRows * page + L::WorkNameRow, L::WorkNameColumn, request.workName);
                book.setText(L::PageRows * page + L::InspectorRow, L::InspectorColumn, request.inspector);
            }
            const AlbumRow& row = request.rows[i - 1];
            if (!row.path.isEmpty()) {
                const FieldBuffer lines = SplitLines(row.info);
                const QString name = lines(1);
                const QString marker = lines(2).isEmpty() ? request.defaultMarker : lines(2);
                const int r = L::bandBase(page, slot), c = L::placeColumn(slot);
                book.setText(r + 4, c, request.routeName);
                book.setText(r + 4, c + 4, name);
                if (!marker.isEmpty()) book.setText(r + 4, c + 8, marker);
                book.setText(r + 5, c + 3, request.location);
                if (const auto found = FindPointByName(sima.index, name.left(25))) {
                    const SimaPoint& point = sima.points[*found - 1];
                    writeCoordinate(book, r + 6, c + 3, point.X);
                    writeCoordinate(book, r + 7, c + 3, point.Y);
                    // A point without a height field has no height to show, not 0.
                    if (request.heightOn && point.HasHeight) writeCoordinate(book, r + 8, c + 3, point.H);
                }
                const PreparedPicture& picture = pictures[jobOf[row.path]];
                book.addPicture(L::picture(page, slot), picture.bytes, picture.extension);
            }
            ++slot;
        }
        book.deleteRows(1, L::PageRows);
        book.setPrintArea(page * L::PageRows, printColumns);
        book.selectCell(1, 1);
        book.save(outputPath);
        if (notes && !book.shortenedNote().isEmpty()) notes->append(book.shortenedNote());
    } catch (const AppError& error) {
        return failure(AlbumExcel::Unexpected, Prompts::Icon::Critical, error.message());
    }
    return std::nullopt;
}

} // namespace PointRecord
