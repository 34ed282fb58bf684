#include "base/ui/dialog_parts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace DialogParts {

namespace {

// The order the dialogs were laid out in; some desktops put OK last, which would swap the buttons
// under the users' hands. Only the box takes this style: its buttons keep the application's.
class FixedButtonOrder : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonLayout) return QDialogButtonBox::WinLayout;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QPushButton* addButton(QDialogButtonBox& box, const ButtonSpec& given, QDialogButtonBox::ButtonRole role) {
    QPushButton* button = box.addButton(given.caption, role);
    button->setObjectName(QString::fromLatin1(given.name));
    button->setAutoDefault(given.enter != Enter::Ignored);
    if (given.enter == Enter::Clicks) button->setDefault(true);
    return button;
}

} // namespace

OkCancelRow okCancelRow(QWidget* dialog, const ButtonSpec& ok, const ButtonSpec& cancel) {
    auto* box = new QDialogButtonBox(dialog);
    auto* style = new FixedButtonOrder;
    style->setParent(box);
    box->setStyle(style);
    // As wide as its buttons: the dialog's own row places it, beside buttons of its own.
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const auto okRole =
        ok.enter == Enter::Clicks ? QDialogButtonBox::AcceptRole : QDialogButtonBox::ActionRole;
    QPushButton* okButton = addButton(*box, ok, okRole);
    QPushButton* cancelButton = addButton(*box, cancel, QDialogButtonBox::RejectRole);
    return {box, okButton, cancelButton};
}

QPushButton* addBetween(const OkCancelRow& row, const ButtonSpec& given) {
    return addButton(*row.box, given, QDialogButtonBox::ActionRole);
}

StatusPanels statusPanels(QWidget* parent, const QString& barName, const QString& panelPrefix,
                          std::initializer_list<int> stretches, PanelFrame frame) {
    StatusPanels result{new QStatusBar(parent), {}};
    result.bar->setObjectName(barName);
    result.bar->setSizeGripEnabled(false);
    for (const int stretch : stretches) {
        auto* panel = new QLabel(result.bar);
        panel->setObjectName(panelPrefix + QString::number(result.panels.size() + 1));
        if (frame == PanelFrame::Sunken) {
            panel->setFrameShape(QFrame::StyledPanel);
            panel->setFrameShadow(QFrame::Sunken);
        }
        result.bar->addWidget(panel, stretch);
        result.panels << panel;
    }
    return result;
}

} // namespace DialogParts
