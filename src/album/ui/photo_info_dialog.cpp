#include "album/ui/photo_info_dialog.h"

#include "album/blackboard_lines.h"
#include "album/photo_info.h"
#include "album/ui/photo_view.h"
#include "base/photo_file.h"
#include "base/prompts.h"
#include "base/ui/dialog_parts.h"
#include "workspace/workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace PhotoInfo;

frmPIC::frmPIC(Workspace& workspace, Prompts& prompts, int row, QWidget* parent)
    : QDialog(parent), workspace_(workspace), prompts_(prompts), openedRow_(row),
      rowId_(workspace.SS1.rowId(row)) {
    setObjectName(u"frmPIC"_s);
    setWindowTitle(u"情報設定"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(u"SSTab1"_s);
    tabs->addTab(buildFreeLinesTab(), u"写真帳"_s);
    tabs->addTab(buildItemsTab({0, 1, 3}, true), u"必須項目"_s);
    tabs->addTab(buildItemsTab({2, 4, 5, 6, 7, 8, 9, 10}), u"条件必須"_s);
    const QString photo = PhotoFile::resolve(workspace_.SS1.text(row, AlbumColumn::Path));
    if (QFileInfo(photo).isFile()) blackboard_ = BlackboardXmp::read(photo);
    tabs->addTab(buildBlackboardTab(), u"黒板情報"_s);
    std::sort(items_.begin(), items_.end(), [](QComboBox* a, QComboBox* b) {
        return a->property("item").toInt() < b->property("item").toInt();
    });

    Picture2_ = new PhotoView(this);
    Picture2_->setObjectName(u"Picture2"_s);
    PhotName_ = new QLabel(u"Picture Name"_s, this);
    PhotName_->setObjectName(u"PhotName"_s);
    PhotName_->setWordWrap(true);
    PhotName_->setMaximumWidth(PhotoInfo::Zoom::ViewSize.width());

    const DialogParts::OkCancelRow okCancel =
        DialogParts::okCancelRow(this, {"cmdOK", u"OK"_s, DialogParts::Enter::Ignored},
                                 {"cmdCancel", u"ｷｬﾝｾﾙ"_s, DialogParts::Enter::Ignored});
    connect(okCancel.ok, &QPushButton::clicked, this, &frmPIC::cmdOK_Click);
    connect(okCancel.cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okCancel.box);

    auto* right = new QVBoxLayout;
    right->addWidget(Picture2_);
    right->addWidget(PhotName_);
    right->addStretch(1);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(right);

    const QString path = workspace_.SS1.text(row, AlbumColumn::Path);
    if (!path.isEmpty()) {
        PhotName_->setText(path);
        const QString photo = PhotoFile::resolve(path);
        PhotoPath = QFileInfo::exists(photo) ? photo : QString();
    }
    showLines(allLinesOf(workspace_.SS1.text(row, AlbumColumn::Info)), true);
    for (int item = 0; item < int(items_.size()); ++item) {
        const QString current = items_.at(item)->currentText();
        items_.at(item)->addItems(history(workspace_.settings, item));
        items_.at(item)->setCurrentText(current);
    }
    if (!PhotoPath.isEmpty()) Picture2_->load(PhotoPath);
}

QWidget* frmPIC::buildFreeLinesTab() {
    auto* page = new QWidget(this);
    SS2_ = new QTableWidget(FreeLines, 1, page);
    SS2_->setObjectName(u"SS2"_s);
    SS2_->setHorizontalHeaderLabels({u"情報"_s});
    SS2_->horizontalHeader()->setStretchLastSection(true);
    SS2_->setMinimumWidth(320);
    // All eight lines in sight, without scrolling.
    SS2_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    SS2_->verticalHeader()->setDefaultSectionSize(SS2_->fontMetrics().lineSpacing() + 8);
    SS2_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SS2_->setMinimumHeight(SS2_->horizontalHeader()->sizeHint().height() +
                           FreeLines * SS2_->verticalHeader()->defaultSectionSize() + 2 * SS2_->frameWidth());
    for (int r = 0; r < FreeLines; ++r)
        SS2_->setItem(r, 0, new QTableWidgetItem);
    connect(SS2_, &QTableWidget::itemChanged, this, &frmPIC::freeLineEdited);

    auto* hint = new QLabel(u"「*No」で文字列呼出しできます。"_s, page);
    hint->setObjectName(u"Label6"_s);
    auto* near = new QPushButton(u"近景"_s, page);
    near->setObjectName(u"CMDCP1"_s);
    auto* far = new QPushButton(u"遠景"_s, page);
    far->setObjectName(u"CMDCP2"_s);
    auto* copy = new QPushButton(u"直前複写"_s, page);
    copy->setObjectName(u"CMDcopy"_s);
    for (QPushButton* button : {near, far, copy})
        button->setAutoDefault(false);
    connect(near, &QPushButton::clicked, this,
            [this] { setFreeLine(FreeLines, workspace_.settings.itemText(SettingItem::NearSuffix)); });
    connect(far, &QPushButton::clicked, this,
            [this] { setFreeLine(FreeLines, workspace_.settings.itemText(SettingItem::FarSuffix)); });
    connect(copy, &QPushButton::clicked, this, &frmPIC::CMDcopy_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(near);
    buttons->addWidget(far);
    buttons->addStretch(1);
    buttons->addWidget(copy);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(SS2_, 1);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    return page;
}

namespace {

// A line that holds neither "1" nor "0" (mostly: no line at all) shows as the delivery will
// write it, and keeps its text until the user clicks the box.
constexpr char KeptText[] = "keptText";

void showFlag(QCheckBox* box, const QString& text, bool unsetChecked) {
    const bool set = text == u"1"_s || text == u"0"_s;
    box->setChecked(set ? text == u"1"_s : unsetChecked);
    box->setProperty(KeptText, set ? QVariant() : QVariant(text));
}

QString flagText(const QCheckBox* box) {
    const QVariant kept = box->property(KeptText);
    if (kept.isValid()) return kept.toString();
    return box->isChecked() ? u"1"_s : u"0"_s;
}

} // namespace

QWidget* frmPIC::buildItemsTab(const QList<int>& items, bool withFlags) {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    for (int item : items) {
        auto* combo = new QComboBox(page);
        const bool first = item < FirstItemCount;
        combo->setObjectName((first ? u"Cmb1_"_s : u"Cmb2_"_s) +
                             QString::number(first ? item : item - FirstItemCount));
        combo->setProperty("item", item);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMinimumWidth(260);
        combo->installEventFilter(this);
        form->addRow(ItemCaptions[item], combo);
        items_ << combo;
    }
    if (withFlags) {
        Chk1_ = new QCheckBox(u"代表写真"_s, page);
        Chk1_->setObjectName(u"Chk1"_s);
        Chk2_ = new QCheckBox(u"提出頻度写真"_s, page);
        Chk2_->setObjectName(u"Chk2"_s);
        for (QCheckBox* box : {Chk1_, Chk2_}) {
            box->setToolTip(u"未指定の写真には、電子納品で出力する値を表示します"_s
                            u"（代表写真は 0、提出頻度写真は既定値）。"_s);
            connect(box, &QCheckBox::toggled, box, [box] { box->setProperty(KeptText, QVariant()); });
            form->addRow(QString(), box);
        }
    }
    return page;
}

// What the photo's blackboard says, as read; the lines change only through the button, and
// only where they are empty.
QWidget* frmPIC::buildBlackboardTab() {
    auto* page = new QWidget(this);
    auto* table = new QTableWidget(0, 2, page);
    table->setObjectName(u"SSBlackboard"_s);
    table->setHorizontalHeaderLabels({u"項目"_s, u"値"_s});
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QList<BlackboardItem> items;
    if (blackboard_.found) {
        items = BlackboardXmp::items(blackboard_.blackboard);
        if (blackboard_.taken.isValid())
            items.prepend({{}, u"撮影年月日（Exif）"_s, blackboard_.taken.toString(u"yyyy-MM-dd"_s)});
    }
    for (const BlackboardItem& item : items) {
        const int r = table->rowCount();
        table->insertRow(r);
        table->setItem(r, 0, new QTableWidgetItem(item.caption));
        table->setItem(r, 1, new QTableWidgetItem(item.value));
    }
    table->resizeColumnToContents(0);

    auto* status = new QLabel(page);
    status->setObjectName(u"LabelBlackboard"_s);
    status->setWordWrap(true);
    status->setText(blackboard_.found ? u"写真に記録された電子小黒板の情報です。"_s
                                      : u"この写真には黒板情報がありません。"_s);
    if (!blackboard_.note.isEmpty()) status->setText(status->text() + u'\n' + blackboard_.note);
    auto* copy = new QPushButton(u"空欄に写す"_s, page);
    copy->setObjectName(u"CMDblackboard"_s);
    copy->setAutoDefault(false);
    copy->setEnabled(blackboard_.found);
    connect(copy, &QPushButton::clicked, this, [this] {
        showLines(BlackboardLines::withEmptyLinesFilled(lines(), BlackboardLines::linesOf(blackboard_)),
                  false);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(copy);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(table, 1);
    layout->addWidget(status);
    layout->addLayout(buttons);
    return page;
}

// Enter in an item keeps its text and moves on to the next field, as Tab does; it never
// closes the dialog, which only OK and ｷｬﾝｾﾙ do.
bool frmPIC::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QComboBox*>(watched)) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QStringList frmPIC::lines() const {
    QStringList result;
    for (int r = 0; r < FreeLines; ++r)
        result << SS2_->item(r, 0)->text();
    for (QComboBox* combo : items_)
        result << combo->currentText();
    result << flagText(Chk1_) << flagText(Chk2_);
    return result;
}

void frmPIC::showLines(const QStringList& lines, bool freeLinesToo) {
    if (freeLinesToo)
        for (int r = 1; r <= FreeLines; ++r)
            setFreeLine(r, lines.value(r - 1));
    for (int item = 0; item < int(items_.size()); ++item)
        items_.at(item)->setCurrentText(lines.value(FreeLines + item));
    showFlag(Chk1_, lines.value(RepresentativeLine - 1), false);
    showFlag(Chk2_, lines.value(FrequencyLine - 1),
             workspace_.settings.text(SettingText::DeliveryFrequencyDefault) == u"1"_s);
}

void frmPIC::setFreeLine(int line, const QString& text) {
    applyingRules_ = true;
    SS2_->item(line - 1, 0)->setText(text);
    applyingRules_ = false;
}

void frmPIC::freeLineEdited(QTableWidgetItem* item) {
    if (applyingRules_) return;
    const int line = item->row() + 1;
    const QString above = line >= 2 ? SS2_->item(line - 2, 0)->text() : QString();
    const QString text = applyLineRules(item->text(), line, above, workspace_.phrases);
    if (text != item->text()) setFreeLine(line, text);
}

void frmPIC::CMDcopy_Click() {
    const bool all = workspace_.settings.itemNumber(SettingItem::CopyAllItems) != 0;
    showLines(copyPrevious(lines(), workspace_.PreviousInfo, all), all);
}

void frmPIC::cmdOK_Click() {
    const QStringList current = lines();
    if (requiredItemsMissing(workspace_.settings, current)) {
        prompts_.tell(RequiredItemsMissing, u"確認"_s, Prompts::Icon::Question);
        return;
    }
    if (!writeBack(workspace_, rowId_, openedRow_, current)) {
        prompts_.tell(RowGone, u"確認"_s, Prompts::Icon::Exclamation);
        return;
    }
    accept();
}
