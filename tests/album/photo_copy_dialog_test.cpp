#include "album/ui/photo_copy_dialog.h"
#include "support/test_files.h"
#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// 中止 stops the run on its worker thread: whenever it comes, every row is either copied whole
// or left out and listed, and no part of a file is left behind.
TEST(PhotoCopyDialog, StopLeavesWholeCopiesAndSaysItStopped) {
    QTemporaryDir dir;
    QTemporaryDir out;
    Workspace workspace(dir.path());
    constexpr int Rows = 120;
    for (int r = 1; r <= Rows; ++r) {
        const QString photo = dir.filePath(u"IMG_%1.JPG"_s.arg(r));
        writeBytes(photo, QByteArray(64 * 1024, char(r)));
        workspace.SS1.setText(r, AlbumColumn::Path, photo);
    }
    workspace.ChosenFolder = out.path() + u'/';
    workspace.FirstNewRow = 1;
    workspace.LastNewRow = Rows;

    DialogSamN2 dialog(workspace);
    auto* stop = dialog.findChild<QPushButton*>(u"cmdCancel"_s);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->text(), u"中止(&S)"_s);
    QObject::connect(dialog.findChild<QProgressBar*>(u"ProgressBar1"_s), &QProgressBar::valueChanged, stop,
                     &QPushButton::click);
    dialog.exec();

    const PhotoCopy::Summary& summary = dialog.summary();
    EXPECT_EQ(summary.copied + summary.notCopied.size(), Rows);
    const QStringList copies =
        QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(copies.size(), summary.copied);
    for (const QString& name : copies)
        EXPECT_EQ(QFileInfo(out.filePath(name)).size(), 64 * 1024) << name.toStdString();
    EXPECT_EQ(summary.stopped(), !summary.notCopied.isEmpty());
    if (summary.stopped()) {
        EXPECT_TRUE(summary.text().startsWith(u"中止しました。"_s));
    }
}
