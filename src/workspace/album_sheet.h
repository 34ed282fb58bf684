#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// Columns of the album sheet, as every command numbers them.
namespace AlbumColumn {
enum : int { Picture = 1, Info = 2, Number = 3, Path = 4 };
inline constexpr int Count = 4;
} // namespace AlbumColumn

struct AlbumRow {
    QImage picture;
    QString info;   // information lines, each followed by CR LF
    QString number; // order number as text
    QString path;   // full photo path
    // Identity of the photo in the row, kept by the sheet through inserts, deletes and moves,
    // so that a window editing a row can find it again. Not part of the row's content.
    quint64 id = 0;

    bool isEmpty() const { return picture.isNull() && info.isEmpty() && number.isEmpty() && path.isEmpty(); }
    bool operator==(const AlbumRow& other) const {
        return info == other.info && number == other.number && path == other.path &&
               picture.cacheKey() == other.picture.cacheKey();
    }
};

// The album: rows 1..maxRows() of four columns. Only the rows up to the last one holding
// anything are stored; the rest read as empty. Rows and columns count from 1 in this API.
class AlbumSheet : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int DesignMaxRows = 1000;
    inline static const QColor YellowBand{0xFF, 0xFF, 0xC0};
    inline static const QColor GreenBand{0xC0, 0xFF, 0xC0};

    explicit AlbumSheet(QObject* parent = nullptr);

    int maxRows() const { return maxRows_; }
    // Rows beyond a smaller capacity are dropped.
    void setMaxRows(int rows);
    // The last row holding any content (0 for an empty sheet).
    int dataRowCount() const { return int(rows_.size()); }

    QString text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    QImage picture(int row) const;
    void setPicture(int row, const QImage& picture);
    AlbumRow row(int row) const;

    // The stored rows 1..dataRowCount(); what undo and album files take and give back.
    const QList<AlbumRow>& rows() const { return rows_; }
    // Rows beyond the capacity are refused by the callers; here they are cut.
    void setRows(QList<AlbumRow> rows);
    // Gives rows without an identity (or with one already used in the list) a fresh one.
    void giveIds(QList<AlbumRow>& rows);
    quint64 rowId(int row) const { return (row >= 1 && row <= rows_.size()) ? rows_.at(row - 1).id : 0; }
    // The row now holding the identity; 0 when no stored row has it.
    int rowOfId(quint64 id) const;
    // Clears rows first..last, columns firstColumn..lastColumn (pictures included).
    void clearBlock(int first, int last, int firstColumn = 1, int lastColumn = AlbumColumn::Count);
    // Inserts an empty row before `row`; a row pushed beyond the capacity is dropped.
    void insertRowAt(int row);
    void deleteRowAt(int row);

    // The colour band of a row: rows 1-3 yellow, 4-6 green, alternating; a band starting at
    // or beyond the capacity stays uncoloured.
    static std::optional<QColor> bandColor(int row, int maxRows);

    static QString headerText(int column);
    static const QString NumberColumnNote;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Typing in a cell does not change the sheet here: it asks for the edit, so that the
    // owner can make it an undoable command.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    void editRequested(int row, int column, const QString& text);

private:
    AlbumRow& rowForWrite(int row);
    void trimTrailingEmptyRows();
    void emitRowsChanged(int first, int last);

    QList<AlbumRow> rows_;
    quint64 lastId_ = 0;
    int maxRows_ = DesignMaxRows;
};
