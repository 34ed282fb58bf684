#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;
class FolderBookmarks;

// Removal of bookmarks: tick the entries to remove. Kept between uses and only hidden.
class frmAddDelete : public QDialog {
    Q_OBJECT
public:
    explicit frmAddDelete(FolderBookmarks& bookmarks, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateOk();
    void removeTicked();

    FolderBookmarks& bookmarks_;
    QListWidget* List1_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};
