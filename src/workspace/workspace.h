#pragma once

#include "base/file_state.h"
#include "base/output_guard.h"
#include "workspace/album_sheet.h"
#include "workspace/bookmarks.h"
#include "workspace/phrase_book.h"
#include "workspace/settings.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <optional>

// The state every window and command shares: the album sheet, the settings and the scalars
// the commands hand to each other. Created by main and passed by reference.
class Workspace : public QObject {
    Q_OBJECT
public:
    explicit Workspace(QString programFolder, QObject* parent = nullptr);

    const QString& programFolder() const { return programFolder_; }
    // A file beside the program: "tovenla.ini", "add.dat", "MJRT.dat", ...
    QString programFile(const QString& name) const;

    // What an output chosen in a window must never replace: the open album and its photos.
    OutputGuard outputGuard() const;
    // Where a save dialog for an output of the album opens: beside the album file; for an
    // album never stored, where the user is browsing; else the home folder.
    QString outputFolder() const;

    // Sets AlbumRowCount from the sheet and announces the status text.
    int UpdateRowTotal();
    static QString rowTotalText(int count);

    // Every change of the sheet goes through these, as one undoable command each. Undo gives
    // back the rows and the SheetModified value from before; a command that sets
    // ClickCounter gives its value here, and undo restores the one from before.
    void replaceRows(const QString& commandName, QList<AlbumRow> rows, int sheetModifiedAfter,
                     std::optional<int> clickCounterAfter = std::nullopt);
    // A cell typed into by the user; marks the album as modified.
    void editCell(int row, int column, const QString& text);
    // Empties the text of the given cells (row, column); the picture column is left alone.
    void clearCells(const QList<QPoint>& cells);

    AlbumSheet SS1;
    QUndoStack undoStack;
    Settings settings; // SettingItems and SettingTexts

    int AlbumRowCount = 0;
    int AlbumMaxRows = AlbumSheet::DesignMaxRows;
    int SheetModified = 0;
    int FirstNewRow = 0;
    int LastNewRow = 0;
    int ClickCounter = 0;
    QString ChosenFolder;
    QString CurrentDrive;
    QString CurrentFolder;
    // The album file last opened or saved; empty for an album never stored.
    QString AlbumFilePath;
    // What that file held then: a save over it first checks that no other run has changed it.
    FileState albumFileState;
    QString PointRecordSimaPath; // the point record dialog's SIMA file, kept while the program runs
    QString PreviousInfo;        // the last information text written by the photo information dialog
    QString DefaultPrinter;      // chosen in the printer set-up; used when no printer is set
    // Photos put on rows fill their empty delivery lines from their blackboard metadata; the
    // command line's --no-blackboard turns it off.
    bool FillFromBlackboard = true;

    // Counts the saves of the album. A command undone or redone after a save leaves the sheet
    // different from the file, so it marks the sheet modified whatever it held before.
    int SaveGeneration = 0;
    void markSaved();

    FolderBookmarks Bookmarks; // "add.dat"
    PhraseBook phrases;        // "MJRT.dat"
    // Program files that exist but could not be read: exit must not overwrite them.
    QStringList UnreadableProgramFiles;

Q_SIGNALS:
    void rowTotalChanged(const QString& panelText);

private:
    QString programFolder_;
};

// The guard of a run over album rows: each row's photo is kept.
OutputGuard photoGuard(const QList<AlbumRow>& rows);
