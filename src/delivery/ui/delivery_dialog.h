#pragma once

#include <QDialog>
#include <QList>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTreeView;
class Prompts;
class Workspace;

// "電子納品": the folder for PHOTO, further albums to export with the sheet, the remembered
// project items, and the export itself.
class frmXML : public QDialog {
    Q_OBJECT
public:
    frmXML(Workspace& workspace, Prompts& prompts, QWidget* parent = nullptr);

    // Files dropped onto List1, as the file manager hands them over.
    void addDroppedFiles(const QList<QUrl>& urls);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFolderTab();
    QWidget* buildItemsTab(const QStringList& labels, const char* name, int firstEntry(int),
                           QList<QComboBox*>& boxes);
    void Form_Load();
    void DriveX_Change(int index);
    void DirX_Change(const QString& path);
    void showFolder(const QString& path);
    void Command1_Click();
    void Command2_Click();
    void cmdOK_Click();
    void rememberHistories();

    Workspace& workspace_;
    Prompts& prompts_;
    QComboBox* DriveX_ = nullptr;
    QTreeView* DirX_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QLabel* LPath_ = nullptr;
    QListWidget* File1_ = nullptr;
    QListWidget* List1_ = nullptr;
    QLabel* FLname_ = nullptr;
    QList<QComboBox*> Cmb1_;
    QList<QComboBox*> Cmb2_;
};
