#include "base/ui/dialog_parts.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using DialogParts::Enter;

namespace {

// The order of desktops that put OK last.
class OkLastStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonLayout) return QDialogButtonBox::GnomeLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A dialog with a text box, holding the focus, above an OK/cancel row.
class RowDialog {
public:
    RowDialog(Enter okEnter, Enter cancelEnter) {
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(edit);
        row = DialogParts::okCancelRow(&dialog, {"OKButton", u"インポート"_s, okEnter},
                                       {"CancelButton", u"ｷｬﾝｾﾙ"_s, cancelEnter});
        layout->addWidget(row.box);
        QObject::connect(row.ok, &QPushButton::clicked, [this] { ++okClicks; });
        dialog.show();
        edit->setFocus();
    }

    void pressEnter() {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &press);
    }

    QDialog dialog;
    QLineEdit* edit = new QLineEdit(&dialog);
    DialogParts::OkCancelRow row{};
    int okClicks = 0;
};

} // namespace

TEST(DialogPartsTest, TheRowKeepsNamesCaptionsAndOrderOnADesktopThatPutsOkLast) {
    const QString styleName = QApplication::style()->name();
    QApplication::setStyle(new OkLastStyle(styleName));
    {
        QDialog dialog;
        auto* layout = new QHBoxLayout(&dialog);
        const DialogParts::OkCancelRow row =
            DialogParts::okCancelRow(&dialog, {"cmdOK", u"XML出力"_s, Enter::Clicks},
                                     {"cmdCancel", u"キャンセル"_s, Enter::WhenFocused});
        QPushButton* report = DialogParts::addBetween(row, {"Command3", u"報告書"_s, Enter::Ignored});
        layout->addWidget(row.box);
        dialog.show();

        EXPECT_EQ(dialog.findChild<QPushButton*>(u"cmdOK"_s), row.ok);
        EXPECT_EQ(dialog.findChild<QPushButton*>(u"cmdCancel"_s), row.cancel);
        EXPECT_EQ(row.ok->text(), u"XML出力"_s);
        EXPECT_EQ(row.cancel->text(), u"キャンセル"_s);
        EXPECT_EQ(report->text(), u"報告書"_s);
        EXPECT_LT(row.ok->x(), report->x());
        EXPECT_LT(report->x(), row.cancel->x());
        EXPECT_EQ(row.box->buttonRole(row.cancel), QDialogButtonBox::RejectRole);
        EXPECT_EQ(row.ok->style(), QApplication::style()) << "the buttons keep the application's look";
    }
    QApplication::setStyle(styleName);
}

TEST(DialogPartsTest, EnterClicksOkOnlyWhereTheDialogMadeItTheDefault) {
    RowDialog clicks(Enter::Clicks, Enter::WhenFocused);
    EXPECT_TRUE(clicks.row.ok->isDefault());
    clicks.pressEnter();
    EXPECT_EQ(clicks.okClicks, 1);

    // A button box would make its first accept button the default on showing; an OK that Enter
    // must not click stays out of that role, so Enter in a text box never ends the dialog.
    RowDialog ignored(Enter::Ignored, Enter::Ignored);
    EXPECT_FALSE(ignored.row.ok->isDefault());
    EXPECT_FALSE(ignored.row.ok->autoDefault());
    EXPECT_FALSE(ignored.row.cancel->autoDefault());
    ignored.pressEnter();
    EXPECT_EQ(ignored.okClicks, 0);
    EXPECT_TRUE(ignored.dialog.isVisible());

    RowDialog focused(Enter::WhenFocused, Enter::WhenFocused);
    EXPECT_TRUE(focused.row.ok->autoDefault());
    EXPECT_TRUE(focused.row.cancel->autoDefault());
}

TEST(DialogPartsTest, StatusPanelsAreNumberedFromOneWithTheirStretchAndFrame) {
    QWidget parent;
    const DialogParts::StatusPanels sunken = DialogParts::statusPanels(
        &parent, u"STB1"_s, u"STB1Panel"_s, {3, 1, 1}, DialogParts::PanelFrame::Sunken);
    EXPECT_EQ(sunken.bar->objectName(), u"STB1"_s);
    EXPECT_FALSE(sunken.bar->isSizeGripEnabled());
    ASSERT_EQ(sunken.panels.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sunken.panels[i]->objectName(), u"STB1Panel"_s + QString::number(i + 1));
        EXPECT_EQ(sunken.panels[i]->frameShadow(), QFrame::Sunken);
        EXPECT_EQ(sunken.panels[i]->parent(), sunken.bar);
    }

    const DialogParts::StatusPanels plain =
        DialogParts::statusPanels(&parent, u"Stb2"_s, u"Stb2Panel"_s, {1}, DialogParts::PanelFrame::None);
    ASSERT_EQ(plain.panels.size(), 1);
    EXPECT_EQ(plain.panels[0]->objectName(), u"Stb2Panel1"_s);
    EXPECT_EQ(plain.panels[0]->frameShape(), QFrame::NoFrame);
}
