#include "excel/album_excel.h"

#include "base/shared_routines.h"
#include "base/shipped_files.h"
#include "excel/album_layout.h"
#include "workspace/settings.h"
#include "xlsx/paged_sheet.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace AlbumExcel {

const QString NoFreeTemplate = u"EXCEL Freeフォーマット雛形が設定されてません。条件で設定して下さい。"_s;
const QString FreeTemplateMissing = u"EXCEL Freeフォーマットファイルが見つかりません。"_s;
const QString BadFreeValues = u"写真FRの設定値が異常です。正しい値を登録して下さい。"_s;
const QString FixedActivity = u"写真帳をEXCELファイルに出力中"_s;
const QString FreeActivity = u"EXCELファイルに出力中"_s;

namespace {

using ReportPipeline::failure;

double leadingNumber(const QString& text) {
    return SettingValue::fromLine(text).toNumber();
}

class AlbumReport : public ReportBuilder {
public:
    AlbumReport(const Request& request, const Progress& progress)
        : request_(request), progress_(progress), activity_(request.free ? FreeActivity : FixedActivity) {}

    ReportResult checkRequest() override { return AlbumExcel::checkRequest(request_); }

    ReportResult findTemplate(QString& path) override {
        if (request_.free) {
            path = request_.templatePath;
            return std::nullopt;
        }
        path = fixedTemplate();
        if (path.isEmpty())
            return failure(ReportPipeline::Unexpected, Prompts::Icon::Critical,
                           u"写真帳の雛形が見つかりません: "_s + AlbumLayout::TemplateName + u".xlsx"_s);
        return std::nullopt;
    }

    // Neither the template in use nor the other format's may be overwritten by a result.
    OutputGuard keptFiles(const QString& templatePath) const override {
        OutputGuard guard = request_.guard;
        guard.keepAll({templatePath, request_.templatePath.trimmed(), fixedTemplate()},
                      OutputGuard::Template);
        for (const AlbumRow& row : request_.rows)
            guard.keep(row.path, OutputGuard::Photo);
        return guard;
    }

    ReportResult checkTemplate(Workbook& book, const QString& templatePath) override {
        if (request_.free) return checkFree(book, templatePath);
        const QString sheet = request_.a3 ? AlbumLayout::SheetA3 : AlbumLayout::SheetA4;
        if (auto missing = ReportPipeline::activateSheet(book, sheet, templatePath)) return missing;
        plan_ = AlbumLayout::planFixed(photoRows(), request_.a3);
        return std::nullopt;
    }

    QList<ReportPhoto> photos() override {
        QList<ReportPhoto> photos;
        for (const AlbumLayout::Slot& slot : plan_.places)
            photos.append({slot.albumRow, pathOf(slot), framePixels(slot.rect.width, slot.rect.height)});
        return photos;
    }

    Progress photoProgress() override { return ReportPipeline::withActivity(progress_, activity_); }

    void fill(Workbook& book, const ReportPictures& pictures, int printColumns) override;

private:
    QString fixedTemplate() const {
        return ShippedFiles::findTemplate(request_.programFolder, AlbumLayout::TemplateName);
    }
    const QString& pathOf(const AlbumLayout::Slot& slot) const {
        return request_.rows[slot.albumRow - 1].path;
    }
    QList<bool> photoRows() const {
        QList<bool> rows;
        for (const AlbumRow& row : request_.rows)
            rows.append(!row.path.isEmpty());
        return rows;
    }
    ReportResult checkFree(Workbook& book, const QString& templatePath);
    ReportResult checkTitleCell();

    const Request& request_;
    const Progress& progress_;
    const QString activity_;
    AlbumLayout::Plan plan_;
    int titleRow_ = 0, titleColumn_ = 0;
};

// The Free template's layout values lie in cells C2 to C21 of its second sheet.
ReportResult AlbumReport::checkFree(Workbook& book, const QString& templatePath) {
    if (book.sheetCount() < 2)
        return failure(u"Free フォーマットの雛形に 2 枚目のシートがありません。\r\n"_s +
                           QDir::toNativeSeparators(templatePath),
                       Prompts::Icon::Critical);
    book.activate(2);
    AlbumLayout::FreeValues values;
    for (int i = 2; i <= 21; ++i)
        values.c[size_t(i)] = leadingNumber(book.cellText(i, 3));
    const QString problem = AlbumLayout::freeProblem(values, int(request_.rows.size()));
    if (!problem.isEmpty())
        return failure(BadFreeValues, Prompts::Icon::Exclamation, u"2 枚目のシートの "_s + problem);
    plan_ = AlbumLayout::planFree(values, photoRows());
    book.activate(1);
    return checkTitleCell();
}

// A title cell of row or column 0 is no title at all.
ReportResult AlbumReport::checkTitleCell() {
    titleRow_ = AlbumLayout::toInt(leadingNumber(request_.titleRow));
    titleColumn_ = AlbumLayout::toInt(leadingNumber(request_.titleColumn));
    if (titleRow_ == 0 || titleColumn_ == 0) return std::nullopt;
    if (titleRow_ < 1 || titleRow_ > CellRef::MaxRow)
        return failure(u"タイトルの出力位置（行）がシートの範囲外です: "_s + request_.titleRow,
                       Prompts::Icon::Exclamation);
    if (titleColumn_ < 1 || titleColumn_ > CellRef::MaxColumn)
        return failure(u"タイトルの出力位置（列）がシートの範囲外です: "_s + request_.titleColumn,
                       Prompts::Icon::Exclamation);
    return std::nullopt;
}

void AlbumReport::fill(Workbook& book, const ReportPictures& pictures, int printColumns) {
    // The title goes in before the page is copied, so a title inside the page repeats with it.
    if (titleRow_ != 0 && titleColumn_ != 0) book.setText(titleRow_, titleColumn_, request_.title);
    PagedSheet sheet(book, plan_.firstBlockRow, plan_.lastBlockRow, printColumns);
    const auto pasteUpTo = [&](int page) {
        while (sheet.pages() < page)
            sheet.pastePage(plan_.pasteRows[sheet.pages()]);
    };
    for (const AlbumLayout::Slot& slot : plan_.places) {
        pasteUpTo(slot.page);
        progress_.report({activity_, slot.albumRow, request_.rows.size(), slot.albumRow});
        const FieldBuffer lines = SplitLines(request_.rows[slot.albumRow - 1].info);
        for (int g = 0; g < slot.lineRows.size(); ++g)
            book.setText(slot.lineRows[g], slot.textColumn, lines(g + 1));
        pictures.place(book, slot.rect, pathOf(slot));
    }
    pasteUpTo(plan_.pages);
    sheet.finish();
    if (!request_.free) {
        const int other = book.sheetIndex(request_.a3 ? AlbumLayout::SheetA4 : AlbumLayout::SheetA3);
        if (other != 0) book.deleteSheet(other);
    }
}

} // namespace

ReportResult checkRequest(const Request& request) {
    if (!request.free) return std::nullopt;
    const QString path = request.templatePath.trimmed();
    if (path.isEmpty() || path.startsWith(u'*')) return ReportPipeline::refusal(NoFreeTemplate);
    if (!QFileInfo(path).isFile())
        return ReportPipeline::refusal(FreeTemplateMissing, QDir::toNativeSeparators(path));
    return std::nullopt;
}

ReportResult run(const Request& request, const QString& outputPath, const Progress& progress,
                 QStringList* notes) {
    AlbumReport report(request, progress);
    return ReportPipeline::run(report, outputPath, request.threads, notes);
}

QString defaultOutputName(const Request& request) {
    QString base =
        request.free ? QFileInfo(request.templatePath).completeBaseName() : AlbumLayout::TemplateName;
    base.remove(u"ORG"_s);
    if (base.isEmpty()) base = u"写真帳"_s;
    return base + u".xlsx"_s;
}

} // namespace AlbumExcel
