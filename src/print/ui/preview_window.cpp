#include "print/ui/preview_window.h"

#include "base/app_error.h"
#include "base/output_choice.h"
#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "base/ui/job_runner.h"
#include "print/preview_document.h"
#include "print/print_renderer.h"
#include "print/ui/preview_surface.h"
#include "print/ui/print_dialog.h"
#include "print/ui/printer_output.h"
#include "workspace/workspace.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int ZoomStep = 5;

} // namespace

PVIEW::PVIEW(Workspace& workspace, Prompts& prompts, PreviewDocument::Kind kind, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts), kind_(kind),
      printer_(QPrinter::HighResolution) {
    setObjectName(u"PVIEW"_s);
    setWindowTitle(u"Zoom"_s);
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* pageSetup = button("Command1", u"頁設定"_s);
    zoomIn_ = button("cmdZoom(0)", u"拡大(&I)"_s);
    zoomOut_ = button("cmdZoom(1)", u"縮小(&O)"_s);
    Cmdmae_ = button("Cmdmae", u"前　頁"_s);
    Cmdato_ = button("Cmdato", u"次　頁"_s);
    QPushButton* print = button("cmdToPrinter", u"印刷"_s);
    QPushButton* pdf = button("CmdPdf", u"PDF保存"_s);
    QPushButton* close = button("Cmdend", u"閉じる"_s);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {pageSetup, zoomIn_, zoomOut_, Cmdmae_, Cmdato_, print, pdf})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);

    surface_ = new PreviewSurface(vsPrinter1_, this);
    scroll_ = new QScrollArea(this);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setWidget(surface_);

    const DialogParts::StatusPanels status = DialogParts::statusPanels(
        this, u"StatusBar1"_s, u"StatusBar1Panel"_s, {1}, DialogParts::PanelFrame::None);
    panel1_ = status.panels.first();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(buttons);
    layout->addWidget(scroll_, 1);
    layout->addWidget(status.bar);

    connect(pageSetup, &QPushButton::clicked, this, &PVIEW::Command1_Click);
    connect(zoomIn_, &QPushButton::clicked, this, [this] { zoomBy(ZoomStep); });
    connect(zoomOut_, &QPushButton::clicked, this, [this] { zoomBy(-ZoomStep); });
    connect(Cmdmae_, &QPushButton::clicked, this, [this] { FlipPage(Previous); });
    connect(Cmdato_, &QPushButton::clicked, this, [this] { FlipPage(Next); });
    connect(print, &QPushButton::clicked, this, &PVIEW::cmdToPrinter_Click);
    connect(pdf, &QPushButton::clicked, this, &PVIEW::CmdPdf_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    {
        BusyScope busy(prompts_);
        const PreviewDocument::Built built = PreviewDocument::build(vsPrinter1_, workspace_, kind_);
        job_ = built.job;
        switch (built.album.status) {
        case AlbumPages::Result::Status::CannotPlace:
            prompts_.tell(AlbumPages::CannotPlace, u"確認"_s, Prompts::Icon::Question);
            break;
        case AlbumPages::Result::Status::NoFrame:
            prompts_.tell(AlbumPages::NoFrame, u"確認"_s, Prompts::Icon::Question);
            break;
        case AlbumPages::Result::Status::RowFailed:
            prompts_.tell(built.album.rowFailure(), u"エラー"_s, Prompts::Icon::Critical);
            break;
        case AlbumPages::Result::Status::Built:
            break;
        }
    }
    setUpPrinter(printer_, vsPrinter1_);
    print->setEnabled(vsPrinter1_.PageCount() > 0);
    pdf->setEnabled(vsPrinter1_.PageCount() > 0);
    surface_->refresh();
    pv_cont();

    // The whole page width at the start zoom where the screen allows.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(std::min(surface_->sizeHint().width() + 60, screen.width() - 40),
           std::min(surface_->sizeHint().height() + 120, screen.height() - 60));
}

void PVIEW::pv_cont() {
    const int count = vsPrinter1_.PageCount();
    const int current = count == 0 ? 0 : vsPrinter1_.previewPage();
    panel1_->setText(u" 頁 "_s + QString::number(current) + u" / "_s + QString::number(count));
    Cmdato_->setEnabled(current < count);
    Cmdmae_->setEnabled(current > 1);
}

void PVIEW::FlipPage(Direction direction) {
    const int current = vsPrinter1_.previewPage();
    if (direction == Next && vsPrinter1_.PageCount() >= current + 1)
        vsPrinter1_.setPreviewPage(current + 1);
    else if (direction == Previous && current > 1)
        vsPrinter1_.setPreviewPage(current - 1);
    surface_->refresh();
    pv_cont();
}

void PVIEW::zoomBy(int step) {
    vsPrinter1_.setZoom(vsPrinter1_.zoom() + step);
    if (step > 0) {
        if (vsPrinter1_.zoom() > 145) zoomIn_->setEnabled(false);
        zoomOut_->setEnabled(true);
    } else {
        if (vsPrinter1_.zoom() <= 5) zoomOut_->setEnabled(false);
        zoomIn_->setEnabled(true);
    }
    setWindowTitle(u"Zoom "_s + QString::number(vsPrinter1_.zoom()) + u"%"_s);
    surface_->refresh();
}

void PVIEW::Command1_Click() {
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
}

void PVIEW::cmdToPrinter_Click() {
    job_.PrintFromPage = 1;
    job_.PrintToPage = vsPrinter1_.PageCount();
    PriForm dialog(job_, vsPrinter1_, printer_, InstalledPrinters::ofSystem(), prompts_, this);
    dialog.exec();
}

void PVIEW::CmdPdf_Click() {
    const QString album = QFileInfo(workspace_.AlbumFilePath).completeBaseName();
    const QString name = kind_ == PreviewDocument::Label ? u"CDラベル.pdf"_s
                         : album.isEmpty()               ? u"写真帳.pdf"_s
                                                         : album + u".pdf"_s;
    const QString path = OutputChoice::chooseFile(
        prompts_, {u"PDF保存"_s, u"PDFﾌｧｲﾙ (*.pdf)|*.pdf"_s, 1, workspace_.outputFolder(), name}, u".pdf"_s,
        workspace_.outputGuard(), u"確認"_s);
    if (path.isEmpty()) return;
    QList<UnreadPicture> unread;
    try {
        BusyScope busy(prompts_);
        JobRunner runner(this);
        runner.showWindow({u"PdfProgress"_s, u"PDF保存"_s, PdfActivity, u"中止"_s, 300});
        unread = runner.run([&](const Progress& progress) {
            return writePdf(vsPrinter1_, path, 1, vsPrinter1_.PageCount(), 0, progress);
        });
    } catch (const Cancelled&) {
        prompts_.tell(Cancelled::NothingWritten, u"確認"_s, Prompts::Icon::Information);
        return;
    } catch (const AppError& error) {
        prompts_.tell(error.message(), u"エラー"_s, Prompts::Icon::Critical);
        return;
    }
    const QString saved = pdfSavedText(path, vsPrinter1_.PageCount());
    if (unread.isEmpty())
        prompts_.tell(saved, u"確認"_s, Prompts::Icon::Information);
    else
        prompts_.tell(saved + u"\r\n\r\n"_s + unreadText(unread), u"確認"_s, Prompts::Icon::Exclamation);
}
