#pragma once

#include "support/recording_opener.h"
#include "support/scripted_prompts.h"
#include "workspace/workspace.h"

#include <QFile>
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

    // Rows of count photos, each a file of its own, large enough that reading them all takes a
    // while: a run over them lasts long enough to be stopped.
    QList<AlbumRow> manyPhotoRows(int count) {
        QImage image(1600, 1200, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString first = dir.filePath(QStringLiteral("large0.jpg"));
        image.save(first);
        QList<AlbumRow> rows(count);
        for (int i = 0; i < count; ++i) {
            rows[i].info = QStringLiteral("K%1\r\n").arg(i + 1);
            rows[i].path = dir.filePath(QStringLiteral("large%1.jpg").arg(i));
            if (i > 0) QFile::copy(first, rows[i].path);
        }
        return rows;
    }

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
