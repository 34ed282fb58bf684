#include "album/ui/bookmark_dialog.h"

#include "base/ui/dialog_parts.h"
#include "workspace/bookmarks.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

frmAddDelete::frmAddDelete(FolderBookmarks& bookmarks, QWidget* parent)
    : QDialog(parent), bookmarks_(bookmarks) {
    setObjectName(u"frmAddDelete"_s);
    setWindowTitle(u"フォルダのアドレスを削除"_s);
    auto* layout = new QVBoxLayout(this);
    List1_ = new QListWidget(this);
    List1_->setObjectName(u"List1"_s);
    layout->addWidget(List1_);

    auto* buttons = new QHBoxLayout;
    auto* Command1 = new QPushButton(u"すべてチェック(&A)"_s, this);
    Command1->setObjectName(u"Command1"_s);
    const DialogParts::OkCancelRow row =
        DialogParts::okCancelRow(this, {"cmdOK", u"OK(&O)"_s, DialogParts::Enter::WhenFocused},
                                 {"cmdCancel", u"キャンセル(&C)"_s, DialogParts::Enter::WhenFocused});
    cmdOK_ = row.ok;
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(row.box);
    layout->addLayout(buttons);
    resize(480, 300);

    connect(List1_, &QListWidget::itemChanged, this, &frmAddDelete::updateOk);
    connect(Command1, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < List1_->count(); ++i)
            List1_->item(i)->setCheckState(Qt::Checked);
    });
    connect(cmdOK_, &QPushButton::clicked, this, &frmAddDelete::removeTicked);
    connect(row.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmAddDelete::showEvent(QShowEvent* event) {
    List1_->clear();
    for (const QString& path : bookmarks_.paths()) {
        auto* item = new QListWidgetItem(path, List1_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    updateOk();
    List1_->setFocus();
    QDialog::showEvent(event);
}

void frmAddDelete::updateOk() {
    bool ticked = false;
    for (int i = 0; i < List1_->count() && !ticked; ++i)
        ticked = List1_->item(i)->checkState() == Qt::Checked;
    cmdOK_->setEnabled(ticked);
}

void frmAddDelete::removeTicked() {
    for (int i = 0; i < List1_->count(); ++i)
        if (List1_->item(i)->checkState() == Qt::Checked) bookmarks_.remove(List1_->item(i)->text());
    accept();
}
