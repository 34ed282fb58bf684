#include "shell/ui/font_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QString StandardFamily = u"ＭＳ Ｐゴシック"_s;
constexpr double StandardSize = 10.5;
const QString SampleText = u"Aaあア亜１２３"_s;

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace

FontDialog::FontDialog(const QString& font, QWidget* parent) : QDialog(parent) {
    setObjectName(u"FontDialog"_s);
    setWindowTitle(u"フォント"_s);
    const FontChoice::Font start =
        FontChoice::parse(font).value_or(FontChoice::Font{StandardFamily, StandardSize});
    sizes_ = FontChoice::offeredSizes(start.size);

    familyEdit_ = named(new QLineEdit(this), u"FontName"_s);
    familyList_ = named(new QListWidget(this), u"FontList"_s);
    sizeEdit_ = named(new QLineEdit(this), u"FontSize"_s);
    sizeEdit_->setMaximumWidth(80);
    sizeList_ = named(new QListWidget(this), u"SizeList"_s);
    sizeList_->setMaximumWidth(80);
    for (const double size : sizes_)
        sizeList_->addItem(FontChoice::sizeText(size));
    sizeNote_ = named(new QLabel(FontChoice::SizeNotOffered, this), u"SizeNote"_s);
    sizeNote_->setWordWrap(true);
    sizeNote_->setStyleSheet(u"color: #b00000;"_s);
    sizeNote_->setVisible(false);

    auto* sampleBox = new QGroupBox(u"サンプル"_s, this);
    sample_ = named(new QLabel(SampleText, sampleBox), u"Sample"_s);
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumHeight(70);
    (new QVBoxLayout(sampleBox))->addWidget(sample_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = named(buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole), u"OK"_s);
    named(buttons->addButton(u"ｷｬﾝｾﾙ"_s, QDialogButtonBox::RejectRole), u"Cancel"_s);

    auto* grid = new QGridLayout;
    auto* familyLabel = new QLabel(u"フォント名(&F):"_s, this);
    familyLabel->setBuddy(familyEdit_);
    auto* sizeLabel = new QLabel(u"サイズ(&S):"_s, this);
    sizeLabel->setBuddy(sizeEdit_);
    grid->addWidget(familyLabel, 0, 0);
    grid->addWidget(sizeLabel, 0, 1);
    grid->addWidget(familyEdit_, 1, 0);
    grid->addWidget(sizeEdit_, 1, 1);
    grid->addWidget(familyList_, 2, 0);
    grid->addWidget(sizeList_, 2, 1);
    grid->setColumnStretch(0, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(sizeNote_);
    layout->addWidget(sampleBox);
    layout->addWidget(buttons);
    connectControls(buttons);

    fillFamilies(start.family);
    familyEdit_->setText(start.family);
    sizeEdit_->setText(FontChoice::sizeText(start.size > 0 ? start.size : StandardSize));
    resize(460, 420);
}

void FontDialog::connectControls(QDialogButtonBox* buttons) {
    connect(familyEdit_, &QLineEdit::textEdited, this, &FontDialog::familyTyped);
    connect(familyEdit_, &QLineEdit::textChanged, this, &FontDialog::checkChoice);
    connect(familyList_, &QListWidget::currentTextChanged, this, [this](const QString& family) {
        if (!familyEdit_->hasFocus()) familyEdit_->setText(family);
    });
    connect(sizeEdit_, &QLineEdit::textChanged, this, &FontDialog::sizeTyped);
    connect(sizeEdit_, &QLineEdit::textChanged, this, &FontDialog::checkChoice);
    connect(sizeList_, &QListWidget::currentTextChanged, this, [this](const QString& size) {
        if (!sizeEdit_->hasFocus() && !size.isEmpty()) sizeEdit_->setText(size);
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FontDialog::fillFamilies(const QString& current) {
    QStringList families = QFontDatabase::families();
    // A font named in settings from another computer stays choosable, though not installed here.
    if (!current.isEmpty() && !families.contains(current)) families.prepend(current);
    familyList_->addItems(families);
    const QList<QListWidgetItem*> found = familyList_->findItems(current, Qt::MatchExactly);
    if (!found.isEmpty()) familyList_->setCurrentItem(found.constFirst());
}

void FontDialog::familyTyped(const QString& text) {
    // The list follows what is typed; the typed name itself is kept as typed.
    const QList<QListWidgetItem*> found = familyList_->findItems(text, Qt::MatchStartsWith);
    if (!text.isEmpty() && !found.isEmpty()) {
        familyList_->setCurrentItem(found.constFirst());
        familyList_->scrollToItem(found.constFirst());
    }
}

void FontDialog::sizeTyped(const QString& text) {
    const std::optional<double> size = FontChoice::offeredSize(text, sizes_);
    if (size) {
        const QList<QListWidgetItem*> found =
            sizeList_->findItems(FontChoice::sizeText(*size), Qt::MatchExactly);
        if (!found.isEmpty() && sizeList_->currentItem() != found.constFirst())
            sizeList_->setCurrentItem(found.constFirst());
    } else {
        sizeList_->setCurrentItem(nullptr);
    }
}

void FontDialog::checkChoice() {
    const std::optional<double> size = FontChoice::offeredSize(sizeEdit_->text(), sizes_);
    // A size outside the list is refused here, never taken in some other reading.
    sizeNote_->setVisible(!size && !sizeEdit_->text().trimmed().isEmpty());
    ok_->setEnabled(size.has_value() && !familyEdit_->text().trimmed().isEmpty());
    QFont font(familyEdit_->text().trimmed());
    font.setPointSizeF(size.value_or(StandardSize));
    sample_->setFont(font);
}

QString FontDialog::chosenFont() const {
    const std::optional<double> size = FontChoice::offeredSize(sizeEdit_->text(), sizes_);
    return FontChoice::format({familyEdit_->text().trimmed(), size.value_or(StandardSize)});
}
