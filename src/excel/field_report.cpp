#include "excel/field_report.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/photo_file.h"
#include "base/shared_routines.h"
#include "excel/field_report_layout.h"
#include "xlsx/legacy_xls.h"
#include "xlsx/picture_prep.h"
#include "base/shipped_files.h"
#include "xlsx/workbook.h"

#include <QDir>
#include <QFileInfo>

#include <map>

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

// One album row with a photo, where it goes.
struct Place {
    int row = 0; // album row
    int page = 0;
    int slot = 0;
    int unit = 0; // kind 2: the processing unit (from 0); kind 1: the page's sheet
    bool unitStart = false;
};

struct Plan {
    QList<Place> places;
    int pages = 0;
    QStringList unitKeys; // kind 2
    QList<int> unitPages; // kind 2: pages of each unit
};

// Slots run on for every row, photo or not; kind 2 restarts the pages with each unit.
Plan plan(const Request& request, const L::Kind& kind) {
    Plan result;
    int slot = kind.capacity, page = 0, unit = -1;
    QString key;
    for (int i = 1; i <= int(request.rows.size()); ++i) {
        const AlbumRow& row = request.rows[i - 1];
        bool unitStart = false;
        if (kind.index == 2) {
            if (i % 2 == 1) key = SplitLines(row.info)(5);
            if (unit < 0 || key != result.unitKeys.constLast()) {
                ++unit;
                result.unitKeys << key;
                result.unitPages << 0;
                slot = kind.capacity;
                page = 0;
                unitStart = true;
            }
        }
        if (slot >= kind.capacity) {
            ++page;
            slot = 0;
            result.pages = qMax(result.pages, page);
            if (kind.index == 1) ++unit;
            if (kind.index == 2) result.unitPages.last() = page;
        }
        if (!row.path.isEmpty()) result.places.append({i, page, slot, qMax(unit, 0), unitStart});
        ++slot;
    }
    return result;
}

QString kind1SheetName(const QString& name, int n) {
    return n == 1 ? name : name + u" ("_s + QString::number(n) + u')';
}

void writeHeading(Workbook& book, const L::Kind& kind) {
    book.setText(1, 2, kind.word + u"現況写真(現地踏査報告)"_s);
    for (int b = 0; b < 3; ++b) {
        const int r = L::ReconBandRows * b;
        book.setText(r + 2, 4, u"街区点指示図番号"_s);
        book.setText(r + 3, 2, kind.word + u"番号"_s);
        book.setText(r + 3, 4, kind.word + u"番号"_s);
        book.setText(r + 4, 2, {});
        book.setText(r + 4, 4, {});
    }
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

std::optional<Failure> run(const Request& request, const QString& outputPath,
                           const AlbumExcel::Progress& progress, QStringList* notes) {
    if (request.kind < 0 || request.kind >= L::KindCount)
        return failure(AlbumExcel::Unexpected, Prompts::Icon::Critical,
                       u"処理種別は 0 から 6 です: "_s + QString::number(request.kind));
    const L::Kind kind = L::kind(request.kind);
    if (kind.index == 1 && request.sheetName.isEmpty())
        return failure(NoSheetName, Prompts::Icon::Exclamation, {}, true);
    const QString source = ShippedFiles::findTemplate(request.programFolder, kind.templateKind + u"ORG"_s);
    if (source.isEmpty())
        return failure(u"雛形が見つかりません: "_s + kind.templateKind + u"ORG.xlsx"_s,
                       Prompts::Icon::Critical);
    OutputGuard guard = request.guard;
    guard.keep(source, OutputGuard::Template);
    if (auto refused = AlbumExcel::refuseKept(guard, request.rows, outputPath)) return refused;
    const Plan layout = plan(request, kind);
    const QString act = activity(kind.index);
    try {
        std::optional<Workbook> opened;
        try {
            opened.emplace(
                Workbook::open(LegacyXls::isLegacy(source) ? LegacyXls::convertedCopy(source) : source));
        } catch (const AppError& error) {
            return failure(error.message(), Prompts::Icon::Critical, error.message());
        }
        Workbook& book = *opened;
        const int templateSheet = book.sheetIndex(kind.templateKind);
        if (templateSheet == 0)
            return failure(u"雛形にシート「"_s + kind.templateKind + u"」がありません。\r\n"_s +
                               QDir::toNativeSeparators(source),
                           Prompts::Icon::Critical);
        // A typed name that no sheet can carry is refused before anything is built.
        if (kind.index == 1) {
            const QString longest = kind1SheetName(request.sheetName, qMax(layout.pages, 1));
            QString problem = book.sheetNameProblem(request.sheetName);
            if (problem.isEmpty()) problem = book.sheetNameProblem(longest);
            if (!problem.isEmpty())
                return failure(u"シート名に使えない名前です: "_s + request.sheetName + u"\r\n"_s + problem,
                               Prompts::Icon::Exclamation, {}, true);
        }
        book.activate(templateSheet);
        const int printColumns = book.printAreaLastColumn();

        // Photos are read before anything is built; kind 2 leaves out the ones not there.
        QList<Place> places;
        QList<PictureJob> jobs;
        std::map<QString, int> jobOf;
        const QSize frame = framePixels(kind.width, kind.height);
        for (const Place& place : layout.places) {
            const QString& path = request.rows[place.row - 1].path;
            if (kind.index == 2 && !QFileInfo(PhotoFile::resolve(path)).isFile()) {
                Place blank = place;
                blank.row = -place.row; // its unit still opens; no picture
                places.append(blank);
                continue;
            }
            places.append(place);
            if (jobOf.count(path)) continue;
            jobOf[path] = int(jobs.size());
            jobs.append({path, frame});
        }
        const QList<PreparedPicture> pictures =
            preparePictures(jobs, request.threads,
                            [&](int done, int total) { return !progress || progress(act, 0, done, total); });
        if (pictures.size() != jobs.size()) return Failure{};
        Failure bad = failure(AlbumExcel::PhotoFailed, Prompts::Icon::Exclamation);
        for (const Place& place : places) {
            if (place.row < 0) continue;
            const QString& path = request.rows[place.row - 1].path;
            const PreparedPicture& picture = pictures[jobOf[path]];
            if (picture.error.isEmpty()) continue;
            bad.badRows.append(place.row);
            bad.badDetails.append(QString::number(place.row) + u": "_s + QDir::toNativeSeparators(path) +
                                  u" ("_s + picture.error + u')');
        }
        if (!bad.badRows.isEmpty()) return bad;

        if (!kind.word.isEmpty()) writeHeading(book, kind);
        // Kinds 1 and 2 work on copies of the template sheet, each found by the index the copy
        // answers, never by name.
        const auto openCopy = [&]() {
            const int copy = book.copySheetBefore(book.sheetIndex(kind.templateKind));
            book.activate(copy);
            return copy;
        };
        const bool oneSheet = kind.index != 1 && kind.index != 2;
        if (oneSheet) book.copyRows(kind.firstBlockRow, kind.lastBlockRow);
        int page = 0, unit = -1, sheetPages = 0;
        const auto finishUnitSheet = [&] {
            while (page < sheetPages)
                book.pasteRows(kind.pageRow(++page));
            book.deleteRows(kind.firstBlockRow, kind.lastBlockRow);
            book.setPrintArea(kind.firstBlockRow - 1 + sheetPages * kind.blockRows(), printColumns);
            book.selectCell(1, 1);
        };
        // Every page (kind 1) or unit (kind 2) opens its sheet, photos or not.
        const auto openUnitsUpTo = [&](int target) {
            while (unit < target) {
                if (kind.index == 2 && unit >= 0) finishUnitSheet();
                ++unit;
                const int copy = openCopy();
                if (kind.index == 1) {
                    book.renameSheet(copy, kind1SheetName(request.sheetName, unit + 1));
                    book.setPrintArea(kind.lastBlockRow, printColumns);
                    continue;
                }
                const QString& key = layout.unitKeys[unit];
                if (!key.isEmpty()) book.renameSheet(copy, book.validSheetName(key));
                book.copyRows(kind.firstBlockRow, kind.lastBlockRow);
                page = 0;
                sheetPages = layout.unitPages[unit];
            }
        };
        QString remembered;
        int rememberedBand = -1, rememberedPage = -1;
        for (const Place& placed : places) {
            const int row = qAbs(placed.row);
            if (progress && !progress(act, row, row, int(request.rows.size()))) return Failure{};
            int p = placed.page;
            if (!oneSheet) openUnitsUpTo(placed.unit);
            if (kind.index == 1)
                p = 0;
            else
                while (page < p)
                    book.pasteRows(kind.pageRow(++page));
            if (placed.row < 0) continue;
            const FieldBuffer lines = SplitLines(request.rows[row - 1].info);
            const int band = placed.slot / 2;
            const bool even = placed.slot % 2 == 0;
            const int r = 43 * p + L::ReconBandRows * band;
            if (kind.index <= 2) {
                if (even) {
                    book.setText(r + 2, 3, lines(1));
                    book.setText(r + 2, 5, lines(2));
                    book.setText(r + 3, 3, lines(3));
                    book.setText(r + 3, 5, lines(4));
                }
            } else if (kind.index <= 4) {
                const int c = even ? 3 : 5;
                book.setText(r + 2, c, lines(1));
                book.setText(r + 3, c, lines(2));
            } else {
                // The remembered line belongs to its band: a band without a left photo shows the
                // right one's line.
                if (rememberedBand != band || rememberedPage != p) remembered.clear();
                rememberedBand = band;
                rememberedPage = p;
                const int textRow = L::bandTextRow(kind, p, band);
                if (even) {
                    book.setText(textRow, 2, lines(1));
                    remembered = lines(1);
                } else if (remembered.isEmpty()) {
                    book.setText(textRow, 2, lines(1));
                }
            }
            const PreparedPicture& picture = pictures[jobOf[request.rows[row - 1].path]];
            book.addPicture(kind.picture(p, placed.slot), picture.bytes, picture.extension);
        }
        if (oneSheet) {
            sheetPages = layout.pages;
            finishUnitSheet();
        } else {
            openUnitsUpTo(kind.index == 1 ? layout.pages - 1 : int(layout.unitKeys.size()) - 1);
            if (kind.index == 2 && unit >= 0) finishUnitSheet();
            book.deleteSheet(book.sheetIndex(kind.templateKind));
            book.activate(1);
        }
        book.selectCell(1, 1);
        book.save(outputPath);
        if (notes && !book.shortenedNote().isEmpty()) notes->append(book.shortenedNote());
    } catch (const AppError& error) {
        return failure(AlbumExcel::Unexpected, Prompts::Icon::Critical, error.message());
    }
    return std::nullopt;
}

} // namespace FieldReport
