#include "delivery/ui/delivery_dialog.h"

#include "base/app_error.h"
#include "base/prompts.h"
#include "base/shipped_files.h"
#include "base/ui/dialog_parts.h"
#include "base/ui/job_runner.h"
#include "delivery/delivery_export.h"
#include "delivery/delivery_history.h"
#include "delivery/delivery_plan.h"
#include "delivery/delivery_review.h"
#include "delivery/delivery_settings.h"
#include "delivery/ui/cd_label_dialog.h"
#include "delivery/ui/check_results.h"
#include "workspace/workspace.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString ItemsNote = u"平成16年6月より必須項目が消滅しました。"_s;

QString indexed(const char* name, int index) {
    return QString::fromLatin1(name) + u'(' + QString::number(index) + u')';
}

QString megabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
}

} // namespace

frmXML::frmXML(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts) {
    setObjectName(u"frmXML"_s);
    setWindowTitle(u"電子納品"_s);

    auto* tabs = new QTabWidget(this);
    SSTab1_ = tabs;
    tabs->setObjectName(u"SSTab1"_s);
    tabs->addTab(buildFolderTab(), u"①格納フォルダ"_s);
    tabs->addTab(buildItemsTab({u"発注年度"_s, u"工事番号"_s, u"工事名称"_s, u"工事箇所"_s, u"工事開始日"_s,
                                u"工事終了日"_s, u"発注者-大分類"_s, u"発注者コード"_s, u"請負者名"_s},
                               "Cmb1", DeliveryHistory::requiredFirstEntry, Cmb1_),
                 u"②必須項目"_s);
    tabs->addTab(
        buildItemsTab({u"河川-路線名等"_s, u"発注者-中分類"_s, u"発注者-小分類"_s, u"請負者コード"_s}, "Cmb2",
                      DeliveryHistory::conditionalFirstEntry, Cmb2_),
        u"③条件必須"_s);
    results_ = new CheckResults(workspace_, prompts_, this);
    tabs->addTab(results_, u"④チェック結果"_s);

    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"cmdOK", u"XML出力"_s, DialogParts::Enter::Clicks},
                                 {"cmdCancel", u"キャンセル"_s, DialogParts::Enter::WhenFocused});

    // First among the dialog's children (the focus order stays), so that a search by name finds
    // this OK before the one of an information dialog opened from the check results.
    row.box->lower();
    auto* Command3 = new QPushButton(u"ラベル"_s, this);
    Command3->setObjectName(u"Command3"_s);
    auto* Command4 = new QPushButton(u"チェック"_s, this);
    Command4->setObjectName(u"Command4"_s);
    connect(Command4, &QPushButton::clicked, this, &frmXML::Command4_Click);
    connect(row.ok, &QPushButton::clicked, this, &frmXML::cmdOK_Click);
    connect(Command3, &QPushButton::clicked, this, [this] { DialogLbl(workspace_, prompts_, this).exec(); });
    connect(row.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addStretch();
    buttons->addWidget(Command4);
    buttons->addWidget(row.box);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    resize(940, 560);

    Form_Load();
}

QWidget* frmXML::buildFolderTab() {
    auto* page = new QWidget(this);
    DriveX_ = new QComboBox(page);
    DriveX_->setObjectName(u"DriveX"_s);
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    DirX_ = new QTreeView(page);
    DirX_->setObjectName(u"DirX"_s);
    DirX_->setModel(folders_);
    for (int c = 1; c < folders_->columnCount(); ++c)
        DirX_->hideColumn(c);
    DirX_->header()->hide();
    LPath_ = new QLabel(u"Path="_s, page);
    LPath_->setObjectName(u"LPath"_s);
    LPath_->setWordWrap(true);
    File1_ = new QListWidget(page);
    File1_->setObjectName(u"File1"_s);
    File1_->setSelectionMode(QAbstractItemView::ExtendedSelection);

    List1_ = new QListWidget(page);
    List1_->setObjectName(u"List1"_s);
    List1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1_->setAcceptDrops(true);
    List1_->viewport()->installEventFilter(this);
    auto* Command1 = new QPushButton(u"追加"_s, page);
    Command1->setObjectName(u"Command1"_s);
    auto* Command2 = new QPushButton(u"開放"_s, page);
    Command2->setObjectName(u"Command2"_s);
    FLname_ = new QLabel(page);
    FLname_->setObjectName(u"FLname"_s);
    FLname_->setWordWrap(true);

    connect(DriveX_, &QComboBox::activated, this, &frmXML::DriveX_Change);
    connect(DirX_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) DirX_Change(folders_->filePath(current));
            });
    connect(Command1, &QPushButton::clicked, this, &frmXML::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmXML::Command2_Click);
    connect(List1_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { FLname_->setText(item->text()); });

    auto* left = new QVBoxLayout;
    left->addWidget(buildStandardBox(page));
    left->addWidget(DriveX_);
    left->addWidget(DirX_, 1);
    left->addWidget(LPath_);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(u"同時に出力するファイル(dat)"_s, page));
    right->addWidget(List1_, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(Command1);
    listButtons->addWidget(Command2);
    right->addLayout(listButtons);
    right->addWidget(FLname_);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 3);
    layout->addWidget(File1_, 2);
    layout->addLayout(right, 3);
    return page;
}

QWidget* frmXML::buildStandardBox(QWidget* page) {
    auto* box = new QGroupBox(u"写真管理基準"_s, page);
    Option05_ = new QRadioButton(u"PHOTO05（現行）"_s, box);
    Option05_->setObjectName(u"Option1(0)"_s);
    Option03_ = new QRadioButton(u"PHOTO03（土木200406-01）"_s, box);
    Option03_->setObjectName(u"Option1(1)"_s);
    Cmb3_ = new QComboBox(box);
    Cmb3_->setObjectName(u"Cmb3"_s);
    Cmb3_->setEditable(true);
    Cmb3_->setInsertPolicy(QComboBox::NoInsert);
    Cmb3_->addItems(PhotoStandard::standards05());
    Cmb4_ = new QComboBox(box);
    Cmb4_->setObjectName(u"Cmb4"_s);
    Cmb4_->addItems({u"0"_s, u"1"_s});

    const Settings& settings = workspace_.settings;
    const bool v05 = DeliverySettings::version(settings) == PhotoStandard::Version::V05;
    (v05 ? Option05_ : Option03_)->setChecked(true);
    const QString guideline = DeliverySettings::guideline(settings);
    Cmb3_->setCurrentText(guideline.isEmpty() ? PhotoStandard::standards05().first() : guideline);
    Cmb4_->setCurrentText(DeliverySettings::frequencyDefault(settings) == u"1"_s ? u"1"_s : u"0"_s);
    Cmb3_->setEnabled(v05);
    Cmb4_->setEnabled(v05);

    connect(Option05_, &QRadioButton::toggled, this, [this](bool on) {
        Cmb3_->setEnabled(on);
        Cmb4_->setEnabled(on);
        storeChoice();
    });
    connect(Cmb3_, &QComboBox::currentTextChanged, this, &frmXML::storeChoice);
    connect(Cmb4_, &QComboBox::currentTextChanged, this, &frmXML::storeChoice);

    auto* grid = new QGridLayout(box);
    grid->addWidget(Option05_, 0, 0, 1, 2);
    grid->addWidget(Option03_, 1, 0, 1, 2);
    grid->addWidget(new QLabel(u"適用要領基準"_s, box), 2, 0);
    grid->addWidget(Cmb3_, 2, 1);
    grid->addWidget(new QLabel(u"未指定の提出頻度写真"_s, box), 3, 0);
    grid->addWidget(Cmb4_, 3, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

PhotoStandard::Version frmXML::chosenVersion() const {
    return Option05_->isChecked() ? PhotoStandard::Version::V05 : PhotoStandard::Version::V03;
}

void frmXML::storeChoice() {
    // The newest guideline and "0" are what an empty text means, so they stay empty.
    const QString guideline = Cmb3_->currentText().trimmed();
    DeliverySettings::store(workspace_.settings, chosenVersion(),
                            guideline == PhotoStandard::standards05().first() ? QString() : guideline,
                            Cmb4_->currentText() == u"1"_s ? u"1"_s : QString());
}

DeliveryRequest frmXML::request() {
    DeliveryRequest request;
    workspace_.UpdateRowTotal();
    request.sheetRows = workspace_.SS1.rows().mid(0, workspace_.AlbumRowCount);
    for (int row = 0; row < List1_->count(); ++row)
        request.listedAlbums << List1_->item(row)->text();
    request.sheetAlbumPath = workspace_.AlbumFilePath;
    request.folder = workspace_.CurrentFolder;
    request.maxRows = workspace_.AlbumMaxRows;
    storeChoice();
    DeliverySettings::apply(workspace_.settings, chosenVersion(), request);
    request.dtdPath = ShippedFiles::find(workspace_.programFolder(), PhotoStandard::dtdName(request.version));
    return request;
}

void frmXML::showFindings(const QList<Finding>& findings) {
    results_->show(findings);
    SSTab1_->setCurrentWidget(results_);
}

void frmXML::Command4_Click() {
    QList<Finding> findings;
    try {
        BusyScope busy(prompts_);
        findings = DeliveryReview::review(DeliveryPlanner::plan(request()));
    } catch (const AppError& error) {
        prompts_.tell(error.message(), u"確認"_s, Prompts::Icon::Exclamation);
        return;
    }
    showFindings(findings);
    if (findings.isEmpty())
        prompts_.tell(u"問題は見つかりませんでした。"_s, u"確認"_s, Prompts::Icon::Information);
}

QWidget* frmXML::buildItemsTab(const QStringList& labels, const char* name, int firstEntry(int),
                               QList<QComboBox*>& boxes) {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < labels.size(); ++i) {
        auto* box = new QComboBox(page);
        box->setObjectName(indexed(name, i));
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->addItems(DeliveryHistory::entries(workspace_.settings, firstEntry(i)));
        box->setCurrentIndex(-1);
        grid->addWidget(new QLabel(labels.at(i), page), i, 0);
        grid->addWidget(box, i, 1);
        boxes << box;
    }
    grid->setColumnStretch(1, 1);
    grid->addWidget(new QLabel(ItemsNote, page), int(labels.size()), 0, 1, 2);
    grid->setRowStretch(int(labels.size()) + 1, 1);
    return page;
}

void frmXML::Form_Load() {
    if (workspace_.CurrentFolder.isEmpty() || !QFileInfo(workspace_.CurrentFolder).isDir())
        workspace_.CurrentFolder = QDir::homePath();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid()) DriveX_->addItem(volume.rootPath());
    const QString drive = QStorageInfo(workspace_.CurrentFolder).rootPath();
    DriveX_->setCurrentIndex(DriveX_->findText(drive));
    workspace_.CurrentDrive = drive;
    showFolder(workspace_.CurrentFolder);
}

void frmXML::DriveX_Change(int index) {
    const QString root = DriveX_->itemText(index);
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady()) {
        prompts_.tell(u"エラー\n"_s + u"ドライブの準備ができていません。"_s + u'\n' + root,
                      DeliveryExport::FailureTitle, Prompts::Icon::Critical);
        DriveX_->setCurrentIndex(DriveX_->findText(workspace_.CurrentDrive));
        return;
    }
    workspace_.CurrentDrive = root;
    showFolder(root);
}

void frmXML::showFolder(const QString& path) {
    folders_->setRootPath(workspace_.CurrentDrive);
    DirX_->setRootIndex(folders_->index(workspace_.CurrentDrive));
    const QModelIndex index = folders_->index(path);
    DirX_->setCurrentIndex(index);
    DirX_->scrollTo(index);
    DirX_Change(path);
}

void frmXML::DirX_Change(const QString& path) {
    LPath_->setText(QDir::toNativeSeparators(path));
    workspace_.CurrentFolder = path;
    File1_->clear();
    File1_->addItems(QDir(path).entryList({u"*.dat"_s}, QDir::Files, QDir::Name));
}

void frmXML::Command1_Click() {
    for (const QListWidgetItem* item : File1_->selectedItems())
        List1_->addItem(QDir(workspace_.CurrentFolder).filePath(item->text()));
}

void frmXML::Command2_Click() {
    for (int row = List1_->count() - 1; row >= 0; --row)
        if (List1_->item(row)->isSelected()) delete List1_->takeItem(row);
}

void frmXML::addDroppedFiles(const QList<QUrl>& urls) {
    for (const QUrl& url : urls)
        if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) List1_->addItem(url.toLocalFile());
}

bool frmXML::eventFilter(QObject* watched, QEvent* event) {
    if (watched != List1_->viewport()) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!drag->mimeData()->hasUrls()) return false;
        drag->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        addDroppedFiles(drop->mimeData()->urls());
        drop->acceptProposedAction();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmXML::cmdOK_Click() {
    const DeliveryRequest request = this->request();
    JobRunner runner(this);
    runner.showWindow({u"DeliveryProgress"_s, windowTitle(), u"写真をコピーしています…"_s, u"中止"_s, 500});
    runner.onStep([&runner](const ProgressStep& step) {
        runner.setLabelText(u"写真をコピーしています… "_s + megabytes(step.done) + u" / "_s +
                            megabytes(step.total) + u" MB"_s);
    });
    // Files the user keeps in the old PHOTO folder go only when the user says so.
    const auto confirm = [&](const QStringList& files) {
        return runner.onWindow([&] {
            return prompts_.ask(DeliveryExport::removalQuestion(files), u"確認"_s, Prompts::Icon::Exclamation,
                                Prompts::Answer::No) == Prompts::Answer::Yes;
        });
    };
    const auto review = [&](const QList<Finding>& findings) {
        return runner.onWindow([&] { return passWarnings(findings); });
    };
    DeliveryResult result;
    try {
        BusyScope busy(prompts_);
        result = runner.run([&](const Progress& progress) {
            return DeliveryExport::run(request, progress, confirm, review);
        });
    } catch (const DeliveryRefused& refused) {
        showFindings(refused.findings());
        prompts_.tell(refused.message() + u"\n一覧の誤りを直してから、もう一度出力して下さい。"_s, u"確認"_s,
                      Prompts::Icon::Exclamation);
        return;
    } catch (const Cancelled&) {
        return tellStopped(request.folder);
    } catch (const DeliveryDeclined&) {
        return tellStopped(request.folder); // the user kept the old folder's files
    } catch (const DeliveryWithheld&) {
        return tellStopped(request.folder); // the user stopped at the warnings, which stay listed
    } catch (const AppError& error) {
        prompts_.tell(DeliveryExport::failureText(error.message()), DeliveryExport::FailureTitle,
                      Prompts::Icon::Critical);
        reject();
        return;
    }
    rememberHistories();
    reportDone(result);
    accept();
}

void frmXML::tellStopped(const QString& folder) {
    prompts_.tell(DeliveryExport::cancelledText(folder), u"確認"_s, Prompts::Icon::Information);
}

bool frmXML::passWarnings(const QList<Finding>& findings) {
    // Notes are told when the export is done.
    const bool warned = std::any_of(findings.begin(), findings.end(), [](const Finding& f) {
        return f.severity == Finding::Severity::Warning;
    });
    if (!warned) return true;
    showFindings(findings);
    return prompts_.ask(DeliveryExport::warningQuestion(findings), u"確認"_s, Prompts::Icon::Exclamation,
                        Prompts::Answer::Yes) == Prompts::Answer::Yes;
}

void frmXML::reportDone(const DeliveryResult& result) {
    QString text = DeliveryExport::doneText(result);
    QList<Finding> notes;
    for (const Finding& finding : result.notes)
        if (finding.severity == Finding::Severity::Note) notes << finding;
    if (!notes.isEmpty())
        text += u"\n注意が "_s + QString::number(notes.size()) +
                u" 件あります（推奨画素数や Exif の撮影日など、納品は受け付けられます）。\n"_s +
                notes.first().place + u' ' + notes.first().message;
    prompts_.tell(text, u"確認"_s, Prompts::Icon::Information);
    if (!result.leftoverFolder.isEmpty())
        prompts_.tell(u"以前の PHOTO フォルダを削除できなかったため、次の場所に残っています。\n"_s +
                          QDir::toNativeSeparators(result.leftoverFolder),
                      u"確認"_s, Prompts::Icon::Exclamation);
}

void frmXML::rememberHistories() {
    for (int i = 0; i < Cmb1_.size(); ++i)
        DeliveryHistory::remember(workspace_.settings, DeliveryHistory::requiredFirstEntry(i),
                                  Cmb1_.at(i)->currentText());
    for (int i = 0; i < Cmb2_.size(); ++i)
        DeliveryHistory::remember(workspace_.settings, DeliveryHistory::conditionalFirstEntry(i),
                                  Cmb2_.at(i)->currentText());
}
