#include "excel/album_excel.h"

#include "base/app_error.h"
#include "base/file_io.h"
#include "base/shared_routines.h"
#include "excel/album_layout.h"
#include "xlsx/legacy_xls.h"
#include "xlsx/picture_prep.h"
#include "base/shipped_files.h"
#include "xlsx/workbook.h"
#include "workspace/settings.h"

#include <QDir>
#include <QFileInfo>

#include <map>

using namespace Qt::StringLiterals;

namespace AlbumExcel {

const QString NoFreeTemplate = u"EXCEL Freeフォーマット雛形が設定されてません。条件で設定して下さい。"_s;
const QString FreeTemplateMissing = u"EXCEL Freeフォーマットファイルが見つかりません。"_s;
const QString BadFreeValues = u"写真FRの設定値が異常です。正しい値を登録して下さい。"_s;
const QString PhotoFailed = u"写真が呼出せません。入力データを確認して下さい。"_s;
const QString Unexpected = u"予期せぬエラーが発生しました。ご迷惑をおかけ致します。"_s;
const QString FixedActivity = u"写真帳をEXCELファイルに出力中"_s;
const QString FreeActivity = u"EXCELファイルに出力中"_s;

namespace {

Failure refusal(const QString& message, const QString& detail = {}) {
    Failure f;
    f.message = message;
    f.keepDialogOpen = true;
    f.detail = detail;
    return f;
}

Failure failure(const QString& message, Prompts::Icon icon, const QString& detail) {
    Failure f;
    f.message = message;
    f.icon = icon;
    f.detail = detail;
    return f;
}

QString templatePath(const Request& request) {
    if (request.free) return request.templatePath;
    const QString found = ShippedFiles::findTemplate(request.programFolder, AlbumLayout::TemplateName);
    if (found.isEmpty())
        throw AppError(u"写真帳の雛形が見つかりません: "_s + AlbumLayout::TemplateName + u".xlsx"_s);
    return found;
}

Workbook openTemplate(const QString& path) {
    if (LegacyXls::isLegacy(path)) {
        Workbook book = Workbook::open(LegacyXls::convertedCopy(path));
        return book;
    }
    return Workbook::open(path);
}

double leadingNumber(const QString& text) {
    return SettingValue::fromLine(text).toNumber();
}

} // namespace

std::optional<Failure> refuseKept(OutputGuard guard, const QList<AlbumRow>& rows, const QString& outputPath) {
    for (const AlbumRow& row : rows)
        guard.keep(row.path, OutputGuard::Photo);
    const QString refused = guard.refusal(outputPath);
    if (refused.isEmpty()) return std::nullopt;
    return refusal(refused);
}

QString defaultOutputName(const Request& request) {
    QString base =
        request.free ? QFileInfo(request.templatePath).completeBaseName() : AlbumLayout::TemplateName;
    base.remove(u"ORG"_s);
    if (base.isEmpty()) base = u"写真帳"_s;
    return base + u".xlsx"_s;
}

std::optional<Failure> run(const Request& request, const QString& outputPath, const Progress& progress,
                           QStringList* notes) {
    if (request.free) {
        const QString path = request.templatePath.trimmed();
        if (path.isEmpty() || path.startsWith(u'*')) return refusal(NoFreeTemplate);
        if (!QFileInfo(path).isFile()) return refusal(FreeTemplateMissing, QDir::toNativeSeparators(path));
    }
    QString source;
    try {
        source = templatePath(request);
        // Neither the template in use nor the other format's may be overwritten by a result.
        OutputGuard guard = request.guard;
        guard.keepAll({source, request.templatePath.trimmed(),
                       ShippedFiles::findTemplate(request.programFolder, AlbumLayout::TemplateName)},
                      OutputGuard::Template);
        if (auto refused = refuseKept(guard, request.rows, outputPath)) return refused;
        std::optional<Workbook> opened;
        try {
            opened.emplace(openTemplate(source));
        } catch (const AppError& error) {
            return failure(error.message(), Prompts::Icon::Critical, error.message());
        }
        Workbook& book = *opened;

        QList<bool> photoRows;
        for (const AlbumRow& row : request.rows)
            photoRows.append(!row.path.isEmpty());
        AlbumLayout::Plan plan;
        int titleRow = 0, titleColumn = 0;
        if (request.free) {
            if (book.sheetCount() < 2)
                return failure(u"Free フォーマットの雛形に 2 枚目のシートがありません。\r\n"_s +
                                   QDir::toNativeSeparators(source),
                               Prompts::Icon::Critical, {});
            book.activate(2);
            AlbumLayout::FreeValues values;
            for (int i = 2; i <= 21; ++i)
                values.c[size_t(i)] = leadingNumber(book.cellText(i, 3));
            const QString problem = AlbumLayout::freeProblem(values, int(request.rows.size()));
            if (!problem.isEmpty())
                return failure(BadFreeValues, Prompts::Icon::Exclamation, u"2 枚目のシートの "_s + problem);
            plan = AlbumLayout::planFree(values, photoRows);
            book.activate(1);
            titleRow = AlbumLayout::toInt(leadingNumber(request.titleRow));
            titleColumn = AlbumLayout::toInt(leadingNumber(request.titleColumn));
            if (titleRow != 0 && titleColumn != 0) {
                if (titleRow < 1 || titleRow > CellRef::MaxRow)
                    return failure(u"タイトルの出力位置（行）がシートの範囲外です: "_s + request.titleRow,
                                   Prompts::Icon::Exclamation, {});
                if (titleColumn < 1 || titleColumn > CellRef::MaxColumn)
                    return failure(u"タイトルの出力位置（列）がシートの範囲外です: "_s + request.titleColumn,
                                   Prompts::Icon::Exclamation, {});
            }
        } else {
            const QString sheet = request.a3 ? AlbumLayout::SheetA3 : AlbumLayout::SheetA4;
            const int index = book.sheetIndex(sheet);
            if (index == 0)
                return failure(u"雛形にシート「"_s + sheet + u"」がありません。\r\n"_s +
                                   QDir::toNativeSeparators(source),
                               Prompts::Icon::Critical, {});
            book.activate(index);
            plan = AlbumLayout::planFixed(photoRows, request.a3);
        }
        const QString activity = request.free ? FreeActivity : FixedActivity;
        const int printColumns = book.printAreaLastColumn();

        // Every photo is read before anything is built, so a bad one is named up front.
        QList<PictureJob> jobs;
        std::map<QString, int> jobOf;
        for (const AlbumLayout::Slot& slot : plan.places) {
            const QString& path = request.rows[slot.albumRow - 1].path;
            if (jobOf.count(path)) continue;
            jobOf[path] = int(jobs.size());
            jobs.append({path, framePixels(slot.rect.width, slot.rect.height)});
        }
        const QList<PreparedPicture> pictures =
            preparePictures(jobs, request.threads, [&](int done, int total) {
                return !progress || progress(activity, 0, done, total);
            });
        if (pictures.size() != jobs.size()) return Failure{};
        Failure bad = failure(PhotoFailed, Prompts::Icon::Exclamation, {});
        for (const AlbumLayout::Slot& slot : plan.places) {
            const QString& path = request.rows[slot.albumRow - 1].path;
            const PreparedPicture& picture = pictures[jobOf[path]];
            if (picture.error.isEmpty()) continue;
            bad.badRows.append(slot.albumRow);
            bad.badDetails.append(QString::number(slot.albumRow) + u": "_s + QDir::toNativeSeparators(path) +
                                  u" ("_s + picture.error + u')');
        }
        if (!bad.badRows.isEmpty()) return bad;

        if (titleRow != 0 && titleColumn != 0) book.setText(titleRow, titleColumn, request.title);
        book.copyRows(plan.firstBlockRow, plan.lastBlockRow);
        int page = 0;
        for (const AlbumLayout::Slot& slot : plan.places) {
            while (page < slot.page)
                book.pasteRows(plan.pasteRows[page++]);
            if (progress && !progress(activity, slot.albumRow, slot.albumRow, int(request.rows.size())))
                return Failure{};
            const FieldBuffer lines = SplitLines(request.rows[slot.albumRow - 1].info);
            for (int g = 0; g < slot.lineRows.size(); ++g)
                book.setText(slot.lineRows[g], slot.textColumn, lines(g + 1));
            const PreparedPicture& picture = pictures[jobOf[request.rows[slot.albumRow - 1].path]];
            book.addPicture(slot.rect, picture.bytes, picture.extension);
        }
        while (page < plan.pages)
            book.pasteRows(plan.pasteRows[page++]);
        book.deleteRows(plan.firstBlockRow, plan.lastBlockRow);
        book.setPrintArea(plan.firstBlockRow - 1 + plan.pages * (plan.lastBlockRow - plan.firstBlockRow + 1),
                          printColumns);
        book.selectCell(1, 1);
        if (!request.free) {
            const int other = book.sheetIndex(request.a3 ? AlbumLayout::SheetA4 : AlbumLayout::SheetA3);
            if (other != 0) book.deleteSheet(other);
        }
        book.save(outputPath);
        if (notes && !book.shortenedNote().isEmpty()) notes->append(book.shortenedNote());
    } catch (const AppError& error) {
        return failure(Unexpected, Prompts::Icon::Critical, error.message());
    }
    return std::nullopt;
}

} // namespace AlbumExcel
