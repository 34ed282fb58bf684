#pragma once

#include "survey/classified_table.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QTableWidget;
class Prompts;
class Workspace;

// The classified CSV import beside the main window: a crew's CSV grouped by key, its photos
// checked, the chosen groups imported into the album, the grouped list saved and loaded.
// Modeless; it stays open after an import.
class DialogImp : public QDialog {
    Q_OBJECT
public:
    DialogImp(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    const ClassifiedData& data() const { return data_; }
    ClassifiedKey chosenKey() const;

Q_SIGNALS:
    // After an import into the album: FirstNewRow..LastNewRow name the rows whose thumbnails
    // are due.
    void rowsImported();

private:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void OKButton_Click();
    void showGroups();
    void showFlags();
    void setStatus(const QString& text);

    Workspace& workspace_;
    Prompts& prompts_;
    ClassifiedData data_;
    QRadioButton* Opt1_[2] = {};
    QLabel* Label1_ = nullptr;
    QTableWidget* SSImp_ = nullptr;
    QLabel* Stb2Panel1_ = nullptr;
    bool filling_ = false; // the list is being filled by the program, not edited by the user
};
