#pragma once

#include "base/font_choice.h"

#include <QDialog>
#include <QList>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "フォント": a font name and a size in points from lists, fractions such as 10.5 kept. A
// size can be typed, full-width digits too, but only a size of the list is taken.
class FontDialog : public QDialog {
    Q_OBJECT
public:
    // font is "name:size" as the settings hold it; without ":" the dialog starts at the
    // program's standard font.
    explicit FontDialog(const QString& font, QWidget* parent = nullptr);

    // The chosen font as "name:size", the size in its shortest form.
    QString chosenFont() const;

private:
    void connectControls(QDialogButtonBox* buttons);
    void fillFamilies(const QString& current);
    void familyTyped(const QString& text);
    void sizeTyped(const QString& text);
    // The note on the size, the OK button and the sample, after any change.
    void checkChoice();

    QList<double> sizes_;
    QLineEdit* familyEdit_ = nullptr;
    QListWidget* familyList_ = nullptr;
    QLineEdit* sizeEdit_ = nullptr;
    QListWidget* sizeList_ = nullptr;
    QLabel* sizeNote_ = nullptr;
    QLabel* sample_ = nullptr;
    QPushButton* ok_ = nullptr;
};
