#include "workspace/album_sheet.h"

#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

const QString AlbumSheet::NumberColumnNote =
    u"クリックする毎に番号が付加されます。並替ボタンを押して写真の入替えが出来ます。"_s;

AlbumSheet::AlbumSheet(QObject* parent) : QAbstractTableModel(parent) {}

void AlbumSheet::setMaxRows(int rows) {
    rows = std::max(rows, 0);
    if (rows == maxRows_) return;
    beginResetModel();
    maxRows_ = rows;
    if (rows_.size() > rows) rows_.resize(rows);
    trimTrailingEmptyRows();
    endResetModel();
}

QString AlbumSheet::text(int row, int column) const {
    if (row < 1 || row > rows_.size()) return {};
    const AlbumRow& r = rows_.at(row - 1);
    switch (column) {
    case AlbumColumn::Info:
        return r.info;
    case AlbumColumn::Number:
        return r.number;
    case AlbumColumn::Path:
        return r.path;
    default:
        return {};
    }
}

void AlbumSheet::setText(int row, int column, const QString& text) {
    if (row < 1 || row > maxRows_ || column < AlbumColumn::Info || column > AlbumColumn::Path) return;
    if (this->text(row, column) == text) return;
    AlbumRow& r = rowForWrite(row);
    (column == AlbumColumn::Info ? r.info : column == AlbumColumn::Number ? r.number : r.path) = text;
    trimTrailingEmptyRows();
    const QModelIndex cell = index(row - 1, column - 1);
    Q_EMIT dataChanged(cell, cell);
}

QImage AlbumSheet::picture(int row) const {
    return (row >= 1 && row <= rows_.size()) ? rows_.at(row - 1).picture : QImage();
}

void AlbumSheet::setPicture(int row, const QImage& picture) {
    if (row < 1 || row > maxRows_) return;
    rowForWrite(row).picture = picture;
    trimTrailingEmptyRows();
    const QModelIndex cell = index(row - 1, AlbumColumn::Picture - 1);
    Q_EMIT dataChanged(cell, cell);
}

AlbumRow AlbumSheet::row(int row) const {
    return (row >= 1 && row <= rows_.size()) ? rows_.at(row - 1) : AlbumRow();
}

void AlbumSheet::setRows(QList<AlbumRow> rows) {
    if (rows.size() > maxRows_) rows.resize(maxRows_);
    const int changed = int(std::max(rows.size(), rows_.size()));
    giveIds(rows);
    rows_ = std::move(rows);
    trimTrailingEmptyRows();
    emitRowsChanged(1, changed);
}

void AlbumSheet::giveIds(QList<AlbumRow>& rows) {
    QSet<quint64> seen;
    for (AlbumRow& row : rows) {
        if (row.id == 0 || seen.contains(row.id)) row.id = ++lastId_;
        lastId_ = std::max(lastId_, row.id);
        seen.insert(row.id);
    }
}

int AlbumSheet::rowOfId(quint64 id) const {
    if (id == 0) return 0;
    for (int r = 0; r < rows_.size(); ++r)
        if (rows_.at(r).id == id) return r + 1;
    return 0;
}

void AlbumSheet::clearBlock(int first, int last, int firstColumn, int lastColumn) {
    first = std::max(first, 1);
    last = std::min<int>(last, int(rows_.size()));
    if (first > last) return;
    for (int r = first; r <= last; ++r) {
        AlbumRow& row = rows_[r - 1];
        for (int c = firstColumn; c <= lastColumn; ++c) {
            switch (c) {
            case AlbumColumn::Picture:
                row.picture = QImage();
                break;
            case AlbumColumn::Info:
                row.info.clear();
                break;
            case AlbumColumn::Number:
                row.number.clear();
                break;
            case AlbumColumn::Path:
                row.path.clear();
                break;
            default:
                break;
            }
        }
    }
    trimTrailingEmptyRows();
    emitRowsChanged(first, last);
}

void AlbumSheet::insertRowAt(int row) {
    if (row < 1 || row > maxRows_ || row > rows_.size())
        return; // nothing stored from there on: the sheet already reads empty
    AlbumRow inserted;
    inserted.id = ++lastId_;
    rows_.insert(row - 1, inserted);
    if (rows_.size() > maxRows_) rows_.resize(maxRows_);
    trimTrailingEmptyRows();
    emitRowsChanged(row, int(rows_.size()) + 1);
}

void AlbumSheet::deleteRowAt(int row) {
    if (row < 1 || row > rows_.size()) return;
    const int before = int(rows_.size());
    rows_.removeAt(row - 1);
    trimTrailingEmptyRows();
    emitRowsChanged(row, before);
}

std::optional<QColor> AlbumSheet::bandColor(int row, int maxRows) {
    if (row < 1) return std::nullopt;
    const int bandStart = (row - 1) / 3 * 3 + 1;
    if (bandStart >= maxRows) return std::nullopt;
    return (bandStart - 1) % 6 == 0 ? YellowBand : GreenBand;
}

QString AlbumSheet::headerText(int column) {
    switch (column) {
    case AlbumColumn::Picture:
        return u"写真"_s;
    case AlbumColumn::Info:
        return u"情報"_s;
    case AlbumColumn::Number:
        return u" "_s;
    case AlbumColumn::Path:
        return u"ファイル名"_s;
    default:
        return {};
    }
}

int AlbumSheet::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : maxRows_;
}

int AlbumSheet::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : AlbumColumn::Count;
}

QVariant AlbumSheet::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        if (column == AlbumColumn::Info) return text(row, column).replace(u"\r\n"_s, u"\n"_s);
        return text(row, column);
    case Qt::EditRole:
        return text(row, column);
    case Qt::DecorationRole:
        if (column == AlbumColumn::Picture) {
            const QImage image = picture(row);
            return image.isNull() ? QVariant() : QVariant(image);
        }
        return {};
    case Qt::BackgroundRole:
        if (const auto colour = bandColor(row, maxRows_)) return *colour;
        return {};
    case Qt::TextAlignmentRole:
        if (column == AlbumColumn::Number) return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant AlbumSheet::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (role == Qt::DisplayRole) return headerText(section + 1);
    if (role == Qt::ToolTipRole && section + 1 == AlbumColumn::Number) return NumberColumnNote;
    return {};
}

Qt::ItemFlags AlbumSheet::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() + 1 != AlbumColumn::Picture) flags |= Qt::ItemIsEditable;
    return flags;
}

bool AlbumSheet::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() + 1 == AlbumColumn::Picture) return false;
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    const QString text = value.toString();
    if (text != this->text(row, column)) Q_EMIT editRequested(row, column, text);
    return true;
}

AlbumRow& AlbumSheet::rowForWrite(int row) {
    while (rows_.size() < row) {
        AlbumRow added;
        added.id = ++lastId_;
        rows_.append(added);
    }
    return rows_[row - 1];
}

void AlbumSheet::trimTrailingEmptyRows() {
    while (!rows_.isEmpty() && rows_.constLast().isEmpty())
        rows_.removeLast();
}

void AlbumSheet::emitRowsChanged(int first, int last) {
    first = std::max(first, 1);
    last = std::min(last, maxRows_);
    if (first <= last) Q_EMIT dataChanged(index(first - 1, 0), index(last - 1, AlbumColumn::Count - 1));
}
