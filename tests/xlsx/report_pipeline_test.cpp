#include "base/app_error.h"
#include "base/output_folder.h"
#include "support/test_files.h"
#include "xlsx/paged_sheet.h"
#include "xlsx/report_pipeline.h"
#include "xlsx/workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A one-sheet report whose every step the test can see and steer.
class FakeReport : public ReportBuilder {
public:
    QString templatePath;
    QStringList photoPaths; // album rows 1.. in order
    ReportResult requestRefusal;
    std::atomic_bool cancelReading = false;
    bool cancelFill = false, throwInFill = false;
    QStringList calls;
    qint64 readTotal = 0;
    std::function<void()> whenOpened, whenFilled; // what happens to the disk meanwhile

    ReportResult checkRequest() override {
        calls << u"request"_s;
        return requestRefusal;
    }
    ReportResult findTemplate(QString& path) override {
        calls << u"template"_s;
        path = templatePath;
        return std::nullopt;
    }
    OutputGuard keptFiles(const QString& path) const override {
        OutputGuard guard;
        guard.keep(path, OutputGuard::Template);
        for (const QString& photo : photoPaths)
            guard.keep(photo, OutputGuard::Photo);
        return guard;
    }
    ReportResult checkTemplate(Workbook& book, const QString& path) override {
        calls << u"open"_s;
        if (whenOpened) whenOpened();
        return ReportPipeline::activateSheet(book, u"Page"_s, path);
    }
    QList<ReportPhoto> photos() override {
        QList<ReportPhoto> photos;
        for (int row = 1; row <= photoPaths.size(); ++row)
            photos.append({row, photoPaths[row - 1], {40, 30}});
        return photos;
    }
    Progress photoProgress() override {
        return Progress([this](const ProgressStep& step) { readTotal = step.total; }, &cancelReading);
    }
    void fill(Workbook& book, const ReportPictures& pictures, int printColumns) override {
        calls << u"fill"_s;
        if (throwInFill) throw AppError(u"disk gone"_s);
        PagedSheet sheet(book, 1, 3, printColumns);
        for (int row = 1; row <= photoPaths.size(); ++row) {
            sheet.pasteUpTo(row);
            book.setText(3 * row + 1, 1, u"row %1"_s.arg(row));
            pictures.place(book, {0, 45.0 * row, 40, 30}, photoPaths[row - 1]);
        }
        sheet.finish();
        if (whenFilled) whenFilled();
        if (cancelFill) throw Cancelled();
    }
};

class ReportPipelineTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeReport report;
    QString output = dir.filePath(u"out.xlsx"_s);

    void SetUp() override {
        report.templatePath = dir.filePath(u"ORG.xlsx"_s);
        Workbook book = Workbook::createBlank({u"Page"_s});
        for (int row = 1; row <= 3; ++row)
            book.setText(row, 1, u"page line %1"_s.arg(row));
        book.save(report.templatePath);
        for (int n = 1; n <= 2; ++n) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            image.save(dir.filePath(u"P%1.jpg"_s.arg(n)), "JPEG");
        }
    }
    QString photo(int n) const { return dir.filePath(u"P%1.jpg"_s.arg(n)); }
    ReportResult run() { return ReportPipeline::run(report, output, 1, nullptr); }
};

TEST_F(ReportPipelineTest, PagesArePastedFilledAndThePageOfTheTemplateRemoved) {
    report.photoPaths = {photo(1), photo(2), photo(1)};
    ASSERT_FALSE(run());
    Workbook book = Workbook::open(output);
    // Three pages of three rows, each starting with the template's own first line.
    for (int page = 0; page < 3; ++page) {
        EXPECT_EQ(book.cellText(3 * page + 1, 1), u"row %1"_s.arg(page + 1));
        EXPECT_EQ(book.cellText(3 * page + 2, 1), u"page line 2"_s);
    }
    EXPECT_EQ(book.lastRow(), 9);
    EXPECT_EQ(book.pictures().size(), 3);
    EXPECT_EQ(report.readTotal, 2); // the photo of rows 1 and 3 is read once
}

TEST_F(ReportPipelineTest, RefusalsComeBeforeTheTemplateIsOpened) {
    report.requestRefusal = ReportPipeline::refusal(u"no"_s);
    auto failure = run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, u"no"_s);
    EXPECT_EQ(report.calls, QStringList{u"request"_s});

    // An output over the template or over a photo is refused, and the dialog stays for a new one.
    report.requestRefusal.reset();
    report.photoPaths = {photo(1)};
    for (const QString& kept : {report.templatePath, photo(1)}) {
        report.calls.clear();
        const QByteArray before = readBytes(kept);
        failure = ReportPipeline::run(report, kept, 1, nullptr);
        ASSERT_TRUE(failure);
        EXPECT_TRUE(failure->keepDialogOpen);
        EXPECT_EQ(report.calls, (QStringList{u"request"_s, u"template"_s}));
        EXPECT_EQ(readBytes(kept), before);
    }
}

TEST_F(ReportPipelineTest, BadPhotosNameEveryRowThatUsesThemAndNothingIsBuilt) {
    writeBytes(dir.filePath(u"bad.jpg"_s), "not a picture");
    report.photoPaths = {photo(1), dir.filePath(u"bad.jpg"_s), photo(2), dir.filePath(u"bad.jpg"_s)};
    const auto failure = run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, ReportPipeline::PhotoFailed);
    EXPECT_EQ(failure->icon, Prompts::Icon::Exclamation);
    EXPECT_FALSE(failure->keepDialogOpen);
    EXPECT_EQ(failure->badRows, (QList<int>{2, 4}));
    ASSERT_EQ(failure->details().size(), 2);
    EXPECT_TRUE(
        failure->details()[0].startsWith(u"2: "_s + QDir::toNativeSeparators(dir.filePath(u"bad.jpg"_s))));
    EXPECT_FALSE(report.calls.contains(u"fill"_s));
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_F(ReportPipelineTest, CancelledOrBrokenRunsWriteNothing) {
    report.photoPaths = {photo(1), photo(2)};
    report.cancelReading = true;
    EXPECT_THROW(run(), Cancelled);
    EXPECT_FALSE(report.calls.contains(u"fill"_s));

    report.cancelReading = false;
    report.cancelFill = true;
    EXPECT_THROW(run(), Cancelled);
    EXPECT_FALSE(QFileInfo::exists(output));

    ReportResult failure;

    // A failure while filling is unexpected, and says what went wrong below the message.
    report.cancelFill = false;
    report.throwInFill = true;
    failure = run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, ReportPipeline::Unexpected);
    EXPECT_EQ(failure->icon, Prompts::Icon::Critical);
    EXPECT_EQ(failure->details(), QStringList{u"disk gone"_s});
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_F(ReportPipelineTest, ADamagedTemplateOrAMissingSheetIsTheUsersMessage) {
    writeBytes(report.templatePath, "PK not a workbook");
    auto failure = run();
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->message, ReportPipeline::Unexpected);
    EXPECT_FALSE(failure->message.isEmpty());
    EXPECT_EQ(failure->icon, Prompts::Icon::Critical);
    EXPECT_TRUE(failure->details().isEmpty()); // the message says it all

    Workbook::createBlank({u"Other"_s}).save(report.templatePath);
    failure = run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message,
              u"雛形にシート「Page」がありません。\r\n"_s + QDir::toNativeSeparators(report.templatePath));
    EXPECT_FALSE(report.calls.contains(u"fill"_s));
    EXPECT_FALSE(QFileInfo::exists(output));
}

// A photo removed or damaged after the run began is told as one missing at its start: by row,
// and nothing is written.
TEST_F(ReportPipelineTest, PhotosThatGoAfterTheRunBeganNameTheirRowsAndNothingIsWritten) {
    report.photoPaths = {photo(1), photo(2), photo(1)};
    report.whenOpened = [&] { QFile::remove(photo(1)); };
    const auto failure = run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, ReportPipeline::PhotoFailed);
    EXPECT_EQ(failure->badRows, (QList<int>{1, 3}));
    EXPECT_EQ(failure->details()[0],
              u"1: "_s + QDir::toNativeSeparators(photo(1)) + u" (ファイルが見つかりません)"_s);
    EXPECT_FALSE(QFileInfo::exists(output));
}

// A save that fails is the user's to put right: the reason is the message, never "unexpected".
// The folder the run began with takes the workbook, or nothing does.
TEST_F(ReportPipelineTest, SaveFailuresAndAFolderGoneAreToldWithTheirReasonAndWriteNothing) {
    report.photoPaths = {photo(1)};
    const QString stick = dir.filePath(u"stick"_s);
    ASSERT_TRUE(QDir().mkdir(stick));
    output = stick + u"/out.xlsx"_s;
    report.whenFilled = [&] {
        QDir().rename(stick, dir.filePath(u"unmounted"_s));
        QDir().mkdir(stick);
    };
    auto failure = run();
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->message.startsWith(OutputFolder::Gone + u'\n' + QDir::toNativeSeparators(stick) +
                                            u"\n同じ場所に別のフォルダがあります。"_s))
        << failure->message.toStdString();
    EXPECT_EQ(failure->icon, Prompts::Icon::Critical);
    EXPECT_TRUE(failure->details().isEmpty()); // the message says it all
    EXPECT_TRUE(QDir(stick).isEmpty());
    EXPECT_TRUE(QDir(dir.filePath(u"unmounted"_s)).isEmpty());

    report.whenFilled = {};
    ASSERT_TRUE(QDir().mkdir(output)); // a folder where the workbook goes
    failure = run();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, u"ブックを保存できません。\n"_s + QDir::toNativeSeparators(output) +
                                    u"\n同じ名前のフォルダがあります。"_s);
}

} // namespace
