#pragma once

#include <QList>
#include <QString>

#include <initializer_list>

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QWidget;

// What the dialogs build alike: the OK/cancel row at their foot and a status bar of text panels.
namespace DialogParts {

// What Enter does to a button of the row.
enum class Enter {
    Clicks,      // the dialog's default button: Enter clicks it wherever the focus is
    WhenFocused, // a plain dialog button: Enter clicks it while it has the focus, and a dialog
                 // shown without a default makes the first such button its default
    Ignored,     // Enter never clicks it, so that Enter in a text box does not end the dialog
};

struct ButtonSpec {
    const char* name; // the given object name the dialog's callers and tests find it by
    QString caption;
    Enter enter;
};

struct OkCancelRow {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;
};

// OK then cancel, in that order on every desktop. Only an OK that Enter clicks takes the accept
// role: a button box makes its first accept button the default when the dialog has none. Cancel
// takes the reject role, as Escape does. The caller connects both buttons.
OkCancelRow okCancelRow(QWidget* dialog, const ButtonSpec& ok, const ButtonSpec& cancel);
// A further button of the row, after OK and the buttons added before it, and before cancel.
QPushButton* addBetween(const OkCancelRow& row, const ButtonSpec& given);

enum class PanelFrame { Sunken, None };

struct StatusPanels {
    QStatusBar* bar;
    QList<QLabel*> panels;
};

// A status bar without a size grip named barName, holding one text panel per stretch, named
// panelPrefix1, panelPrefix2, ... The caller puts the bar into its layout.
StatusPanels statusPanels(QWidget* parent, const QString& barName, const QString& panelPrefix,
                          std::initializer_list<int> stretches, PanelFrame frame);

} // namespace DialogParts
