#include "survey/ui/sima_dialog_parts.h"

#include "base/prompts.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace SimaDialogParts {

const QString FolderTitle = u"写真フォルダーを指示。ファイル名は無視します。"_s;

QWidget* statusBar(QWidget* parent, int panelCount, QList<QLabel*>& panels) {
    auto* bar = new QStatusBar(parent);
    bar->setObjectName(u"STB1"_s);
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < panelCount; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(u"STB1Panel"_s + QString::number(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel, i == 0 ? 3 : 1);
        panels << panel;
    }
    return bar;
}

void choosePhotoFolder(Prompts& prompts, QLineEdit& folderBox) {
    QString folder = prompts.chooseFolder(FolderTitle, folderBox.text());
    if (folder.isEmpty()) return;
    folder = QDir::toNativeSeparators(folder);
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    folderBox.setText(folder);
}

} // namespace SimaDialogParts
