#include "delivery/ui/check_results.h"

#include "album/ui/photo_info_dialog.h"
#include "base/prompts.h"
#include "delivery/kana_width.h"
#include "workspace/workspace.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CheckResults::CheckResults(Workspace& workspace, Prompts& prompts, QWidget* parent)
    : QWidget(parent), workspace_(workspace), prompts_(prompts) {
    SSCheck_ = new QTableWidget(0, 3, this);
    SSCheck_->setObjectName(u"SSCheck"_s);
    SSCheck_->setHorizontalHeaderLabels({u"行・ファイル"_s, u"項目"_s, u"内容"_s});
    SSCheck_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SSCheck_->setSelectionBehavior(QAbstractItemView::SelectRows);
    SSCheck_->setWordWrap(false);
    SSCheck_->horizontalHeader()->setStretchLastSection(true);
    SSCheck_->verticalHeader()->hide();
    SSCheck_->setColumnWidth(0, 260);
    SSCheck_->setColumnWidth(1, 200); // "撮影年月日（情報 13 行目）"
    connect(SSCheck_, &QTableWidget::cellDoubleClicked, this, [this](int line, int) { openRow(line); });

    auto* hint = new QLabel(u"写真帳の行をダブルクリックすると情報設定を開きます。"_s, this);
    auto* Command5 = new QPushButton(u"半角カナを全角に変換"_s, this);
    Command5->setObjectName(u"Command5"_s);
    connect(Command5, &QPushButton::clicked, this, &CheckResults::convertKana);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(hint, 1);
    bottom->addWidget(Command5);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSCheck_, 1);
    layout->addLayout(bottom);
}

void CheckResults::show(const QList<Finding>& findings) {
    findings_ = findings;
    SSCheck_->setRowCount(int(findings.size()));
    for (int i = 0; i < findings.size(); ++i) {
        const Finding& finding = findings.at(i);
        const QString kind = finding.severity == Finding::Severity::Error     ? u"誤り: "_s
                             : finding.severity == Finding::Severity::Warning ? u"警告: "_s
                                                                              : u"注意: "_s;
        const QStringList cells = {finding.place.isEmpty() ? u"-"_s : finding.place, Findings::item(finding),
                                   kind + finding.message};
        for (int c = 0; c < 3; ++c) {
            auto* cell = new QTableWidgetItem(cells.at(c));
            cell->setToolTip(cells.at(c));
            if (finding.severity == Finding::Severity::Error) cell->setForeground(QColor(0xB0, 0x00, 0x00));
            if (finding.severity == Finding::Severity::Warning) cell->setForeground(QColor(0x9A, 0x50, 0x00));
            SSCheck_->setItem(i, c, cell);
        }
    }
}

void CheckResults::openRow(int line) {
    if (line < 0 || line >= findings_.size()) return;
    const int row = findings_.at(line).sheetRow;
    if (row < 1) return;
    auto* dialog = new frmPIC(workspace_, prompts_, row, this);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QDialog::accepted, this, &CheckResults::sheetChanged);
    dialog->show();
}

void CheckResults::convertKana() {
    workspace_.UpdateRowTotal();
    QList<AlbumRow> rows = workspace_.SS1.rows();
    const int changed = KanaWidth::convertDeliveryLines(rows);
    if (changed == 0) {
        prompts_.tell(u"情報の 9～19 行目に半角カナはありません。"_s, u"確認"_s, Prompts::Icon::Information);
        return;
    }
    workspace_.replaceRows(u"半角カナを全角に変換"_s, std::move(rows), 1);
    prompts_.tell(QString::number(changed) + u" 行の半角カナを全角に変換しました。"_s, u"確認"_s,
                  Prompts::Icon::Information);
    emit sheetChanged();
}
