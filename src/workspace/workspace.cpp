#include "workspace/workspace.h"

#include <QDir>
#include <QFileInfo>
#include <QUndoCommand>

using namespace Qt::StringLiterals;

namespace {

// A change of whole rows: load, clear, imports. Rows share their data, so keeping both
// states costs little.
// The SheetModified value a command gives the sheet: its own, unless the album was saved
// since the command last ran, when the sheet no longer matches the file.
class SheetCommand : public QUndoCommand {
protected:
    SheetCommand(Workspace& workspace, const QString& name)
        : QUndoCommand(name), workspace_(workspace), generation_(workspace.SaveGeneration) {}

    int modifiedAfterSaves(int modified) {
        const int result = workspace_.SaveGeneration == generation_ ? modified : 1;
        generation_ = workspace_.SaveGeneration;
        return result;
    }

    Workspace& workspace_;

private:
    int generation_;
};

class ReplaceRowsCommand : public SheetCommand {
public:
    ReplaceRowsCommand(Workspace& workspace, const QString& name, QList<AlbumRow> after, int modifiedAfter,
                       std::optional<int> clickCounterAfter)
        : SheetCommand(workspace, name), before_(workspace.SS1.rows()), after_(std::move(after)),
          modifiedBefore_(workspace.SheetModified), modifiedAfter_(modifiedAfter),
          clickCounterBefore_(workspace.ClickCounter), clickCounterAfter_(clickCounterAfter) {}

    // Thumbnails are drawn outside the stack after a command ran; taking the sheet as it is
    // now keeps them for the way back (and the way forward again).
    void redo() override {
        before_ = workspace_.SS1.rows();
        apply(after_, modifiedAfter_);
        if (clickCounterAfter_) workspace_.ClickCounter = *clickCounterAfter_;
    }
    void undo() override {
        after_ = workspace_.SS1.rows();
        apply(before_, modifiedBefore_);
        if (clickCounterAfter_) workspace_.ClickCounter = clickCounterBefore_;
    }

private:
    void apply(const QList<AlbumRow>& rows, int modified) {
        workspace_.SS1.setRows(rows);
        workspace_.SheetModified = modifiedAfterSaves(modified);
        workspace_.UpdateRowTotal();
    }

    QList<AlbumRow> before_;
    QList<AlbumRow> after_;
    int modifiedBefore_;
    int modifiedAfter_;
    int clickCounterBefore_;
    std::optional<int> clickCounterAfter_;
};

class EditCellCommand : public SheetCommand {
public:
    EditCellCommand(Workspace& workspace, int row, int column, const QString& text)
        : SheetCommand(workspace, u"セルの編集"_s), row_(row), column_(column),
          before_(workspace.SS1.text(row, column)), after_(text), modifiedBefore_(workspace.SheetModified) {}

    void redo() override { apply(after_, 1); }
    void undo() override { apply(before_, modifiedBefore_); }

private:
    void apply(const QString& text, int modified) {
        workspace_.SS1.setText(row_, column_, text);
        workspace_.SheetModified = modifiedAfterSaves(modified);
        workspace_.UpdateRowTotal();
    }

    int row_;
    int column_;
    QString before_;
    QString after_;
    int modifiedBefore_;
};

} // namespace

Workspace::Workspace(QString programFolder, QObject* parent)
    : QObject(parent), programFolder_(std::move(programFolder)) {
    connect(&SS1, &AlbumSheet::editRequested, this,
            [this](int row, int column, const QString& text) { editCell(row, column, text); });
}

QString Workspace::programFile(const QString& name) const {
    return QDir(programFolder_).filePath(name);
}

OutputGuard photoGuard(const QList<AlbumRow>& rows) {
    OutputGuard guard;
    for (const AlbumRow& row : rows)
        guard.keep(row.path, OutputGuard::Photo);
    return guard;
}

OutputGuard Workspace::outputGuard() const {
    OutputGuard guard = photoGuard(SS1.rows());
    guard.keep(AlbumFilePath, OutputGuard::OpenAlbum);
    return guard;
}

QString Workspace::outputFolder() const {
    QString folder = AlbumFilePath.isEmpty() ? QString() : QFileInfo(AlbumFilePath).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = CurrentFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return folder;
}

int Workspace::UpdateRowTotal() {
    AlbumRowCount = SS1.dataRowCount();
    Q_EMIT rowTotalChanged(rowTotalText(AlbumRowCount));
    return AlbumRowCount;
}

void Workspace::markSaved() {
    SheetModified = 0;
    ++SaveGeneration;
}

QString Workspace::rowTotalText(int count) {
    return u"Data総数="_s + QString::number(count);
}

void Workspace::replaceRows(const QString& commandName, QList<AlbumRow> rows, int sheetModifiedAfter,
                            std::optional<int> clickCounterAfter) {
    // Identities are fixed now, so that undo and redo give every row back the same one.
    SS1.giveIds(rows);
    undoStack.push(
        new ReplaceRowsCommand(*this, commandName, std::move(rows), sheetModifiedAfter, clickCounterAfter));
}

void Workspace::editCell(int row, int column, const QString& text) {
    if (SS1.text(row, column) == text) return;
    undoStack.push(new EditCellCommand(*this, row, column, text));
}

void Workspace::clearCells(const QList<QPoint>& cells) {
    QList<AlbumRow> rows = SS1.rows();
    bool changed = false;
    for (const QPoint& cell : cells) {
        const int row = cell.x();
        if (row < 1 || row > rows.size()) continue;
        AlbumRow& target = rows[row - 1];
        QString* text = cell.y() == AlbumColumn::Info     ? &target.info
                        : cell.y() == AlbumColumn::Number ? &target.number
                        : cell.y() == AlbumColumn::Path   ? &target.path
                                                          : nullptr;
        if (text && !text->isEmpty()) {
            text->clear();
            changed = true;
        }
    }
    if (changed) replaceRows(u"セルのクリア"_s, std::move(rows), 1);
}
