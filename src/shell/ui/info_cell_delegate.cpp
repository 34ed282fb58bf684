#include "shell/ui/info_cell_delegate.h"

#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

namespace {

constexpr const char* EditedProperty = "tovenlaEdited";

} // namespace

QWidget* InfoCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex&) const {
    auto* editor = new QPlainTextEdit(parent);
    editor->setTabChangesFocus(true);
    connect(editor, &QPlainTextEdit::textChanged, editor,
            [editor] { editor->setProperty(EditedProperty, true); });
    return editor;
}

void InfoCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    static_cast<QPlainTextEdit*>(editor)->setPlainText(QString(text).replace(u"\r\n"_s, u"\n"_s));
    editor->setProperty(EditedProperty, false);
}

void InfoCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    // A cell left without typing keeps its text exactly, whatever line ends it holds.
    if (!editor->property(EditedProperty).toBool()) return;
    const QString typed = static_cast<QPlainTextEdit*>(editor)->toPlainText();
    model->setData(index, QString(typed).replace(u"\n"_s, u"\r\n"_s), Qt::EditRole);
}

void InfoCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    // Room for the eight information lines even in a short row.
    QRect rect = option.rect;
    rect.setHeight(std::max(rect.height(), editor->fontMetrics().lineSpacing() * 9));
    editor->setGeometry(rect);
}
