#include "app/ui/info_cell_delegate.h"

#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

QWidget* InfoCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex&) const {
    auto* editor = new QPlainTextEdit(parent);
    editor->setTabChangesFocus(true);
    return editor;
}

void InfoCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    static_cast<QPlainTextEdit*>(editor)->setPlainText(QString(text).replace(u"\r\n"_s, u"\n"_s));
}

void InfoCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    const QString original = index.data(Qt::EditRole).toString();
    const QString typed = static_cast<QPlainTextEdit*>(editor)->toPlainText();
    if (typed == QString(original).replace(u"\r\n"_s, u"\n"_s))
        return; // unchanged: keep the stored line endings exactly
    model->setData(index, QString(typed).replace(u"\n"_s, u"\r\n"_s), Qt::EditRole);
}

void InfoCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    // Room for the eight information lines even in a short row.
    QRect rect = option.rect;
    rect.setHeight(std::max(rect.height(), editor->fontMetrics().lineSpacing() * 9));
    editor->setGeometry(rect);
}
