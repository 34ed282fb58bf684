#pragma once

#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QImage>
#include <QTemporaryDir>

// What a workbook dialog test starts from: a workspace in a folder of its own, scripted
// prompts, a recording opener and one small photo for the album's rows.
struct WorkbookDialogFixture {
    QTemporaryDir dir;
    Workspace workspace{dir.path()};
    ScriptedPrompts prompts;
    RecordingOpener opener;
    const QString photo = writePhoto(dir.filePath(QStringLiteral("p.jpg")));

    // The album's rows as a load leaves them.
    void setRows(const QList<AlbumRow>& rows) {
        workspace.replaceRows(QStringLiteral("test"), rows, 0);
        workspace.UpdateRowTotal();
    }

private:
    static QString writePhoto(const QString& path) {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(path);
        return path;
    }
};
